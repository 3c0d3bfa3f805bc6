#pragma once

#include <nlohmann/json.hpp>

#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace tolvex::testing {

// A list of tests/data/window.json, which the page's tests read too:
// "fields" (in the form's order) or "focusOrder".
inline std::vector<std::string> WindowList(const char* key) {
    std::ifstream in(std::string(TOLVEX_TEST_DATA_DIR) + "/window.json", std::ios::binary);
    if (!in) throw std::runtime_error("cannot open test data window.json");
    return nlohmann::json::parse(in).at(key).get<std::vector<std::string>>();
}

} // namespace tolvex::testing
