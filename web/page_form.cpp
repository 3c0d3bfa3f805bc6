#include "page_form.h"

#include <stdexcept>

namespace tolvex::web {

ClickResult PageForm::Click(std::string_view button, std::vector<NamedText> texts) {
    std::vector<FieldText> edits;
    edits.reserve(texts.size());
    for (NamedText& named : texts) {
        const FormField* field = FindField(named.name);
        if (field == nullptr)
            throw std::invalid_argument("the page sent a text for no field: " + named.name);
        edits.push_back({field, std::move(named.text)});
    }
    const Action* action = FindAction(button);
    if (action == nullptr) return {};
    return runner_.Click(*action, edits);
}

} // namespace tolvex::web
