#include "page_form.h"

#include <algorithm>

namespace tolvex::web {

ClickResult PageForm::Click(std::string_view button, std::vector<std::string> texts) {
    const Action* action = FindAction(button);
    if (action == nullptr) return {};
    std::vector<FieldText> edits;
    for (std::size_t i = 0; i < std::min(texts.size(), kFormFields.size()); ++i)
        edits.push_back({&kFormFields[i], std::move(texts[i])});
    return runner_.Click(*action, edits);
}

} // namespace tolvex::web
