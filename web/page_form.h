#pragma once

#include "form/action_runner.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tolvex::web {

// What crosses between the page and the module in one call: a text for each
// field of the form's table, in its order; nothing where the box was left as
// the module last filled it (on the way in) or stays as it is (on the way out).
using BoxTexts = std::vector<std::optional<std::string>>;

struct PageUpdate {
    BoxTexts texts;
    int unitIndex = -1;  // the item the unit list selects, -1 for none
    std::string failure; // the failure's words; empty when the action ran to its end
};

// The page's form: the module keeps one for the page's one window.
class PageForm {
  public:
    // Start-up: every box's first text.
    PageUpdate StartUp();
    // A click of the button of that name (a button that is none changes nothing).
    PageUpdate Click(std::string_view button, const BoxTexts& edited);

  private:
    ActionRunner runner_;
};

} // namespace tolvex::web
