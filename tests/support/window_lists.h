#pragma once

#include "json_lines.h"

#include <string>
#include <vector>

namespace tolvex::testing {

// A list of tests/data/window.json, which the page's tests read too:
// "fields" (in the form's order) or "focusOrder".
inline std::vector<std::string> WindowList(const char* key) {
    std::ifstream in = OpenTestData("window.json");
    return Json::parse(in).at(key).get<std::vector<std::string>>();
}

} // namespace tolvex::testing
