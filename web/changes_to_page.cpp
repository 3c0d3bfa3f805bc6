#include "changes_to_page.h"

#include <string>

namespace tolvex::web {

emscripten::val ChangesToPage(const std::vector<FieldChange>& changes, std::string_view failure) {
    using emscripten::val;
    val shown = val::array();
    for (std::size_t i = 0; i < changes.size(); ++i) {
        const FieldChange& change = changes[i];
        val one = val::object();
        one.set("field", std::string(change.field->name));
        one.set("text", change.text);
        if (change.listIndex) one.set("listIndex", *change.listIndex);
        shown.set(i, one);
    }
    val result = val::object();
    result.set("changes", shown);
    result.set("failure", std::string(failure));
    return result;
}

} // namespace tolvex::web
