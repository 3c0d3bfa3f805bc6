#pragma once

#include "form/action_runner.h"

#include <string>
#include <string_view>
#include <vector>

namespace tolvex::web {

// The page's form: the module keeps one for the page's one window.
class PageForm {
  public:
    // Start-up: every box's first text.
    std::vector<FieldChange> StartUp() { return runner_.Start(); }
    // A click of the button of that name, with the text of each box under its
    // field's name, in any order (TextsOfFields, which throws on a name that
    // is no field's). A button that runs no action changes nothing.
    ClickResult Click(std::string_view button, std::vector<NamedText> texts);

  private:
    ActionRunner runner_;
};

} // namespace tolvex::web
