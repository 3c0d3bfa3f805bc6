#pragma once

#include "form/action_runner.h"

#include <string>
#include <string_view>
#include <vector>

namespace tolvex::web {

// A box's text under the name of its field, as the page sends it.
struct NamedText {
    std::string name;
    std::string text;
};

// The page's form: the module keeps one for the page's one window.
class PageForm {
  public:
    // Start-up: every box's first text.
    std::vector<FieldChange> StartUp() { return runner_.Start(); }
    // A click of the button of that name, with the text of each box under its
    // field's name, in any order, so that no order of the page's or the
    // table's can put a text into another field. A name that is no field's
    // throws std::invalid_argument: the page and the form disagree. A button
    // that runs no action changes nothing.
    ClickResult Click(std::string_view button, std::vector<NamedText> texts);

  private:
    ActionRunner runner_;
};

} // namespace tolvex::web
