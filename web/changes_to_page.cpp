#include "changes_to_page.h"

#include <string>

namespace tolvex::web {

nlohmann::json ChangesToPage(const std::vector<FieldChange>& changes, std::string_view failure) {
    nlohmann::json shown = nlohmann::json::array();
    for (const FieldChange& change : changes) {
        nlohmann::json one{{"field", std::string(change.field->name)}, {"text", change.text}};
        if (change.listIndex) one["listIndex"] = *change.listIndex;
        shown.push_back(std::move(one));
    }
    return {{"changes", std::move(shown)}, {"failure", std::string(failure)}};
}

std::string ChangesText(const std::vector<FieldChange>& changes, std::string_view failure) {
    return ChangesToPage(changes, failure)
        .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

} // namespace tolvex::web
