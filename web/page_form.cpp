#include "page_form.h"

namespace tolvex::web {

ClickResult PageForm::Click(std::string_view button, std::vector<NamedText> texts) {
    const std::vector<FieldText> edits = TextsOfFields(std::move(texts));
    const Action* action = FindAction(button);
    if (action == nullptr) return {};
    return runner_.Click(*action, edits);
}

} // namespace tolvex::web
