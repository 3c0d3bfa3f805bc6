#pragma once

#include "json_lines.h"

#include <string>
#include <vector>

namespace tolvex::testing {

// tests/data/window.json, the window written out apart from the code; the
// page's tests read it too.
inline Json WrittenWindow() {
    std::ifstream in = OpenTestData("window.json");
    return Json::parse(in);
}

// One of its lists: "fields" (in the form's order) or "focusOrder".
inline std::vector<std::string> WindowList(const char* key) {
    return WrittenWindow().at(key).get<std::vector<std::string>>();
}

} // namespace tolvex::testing
