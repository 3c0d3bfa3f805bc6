#pragma once

#include <nlohmann/json.hpp>

#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace tolvex::testing {

using Json = nlohmann::json;

// A file of the test data folder, opened.
inline std::ifstream OpenTestData(const std::string& fileName) {
    std::ifstream in(std::string(TOLVEX_TEST_DATA_DIR) + "/" + fileName, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open test data " + fileName);
    return in;
}

// Every non-empty line of a .jsonl file in the test data folder.
inline std::vector<Json> ReadJsonLines(const std::string& fileName) {
    std::ifstream in = OpenTestData(fileName);
    std::vector<Json> lines;
    std::string line;
    while (std::getline(in, line))
        if (!line.empty()) lines.push_back(Json::parse(line));
    return lines;
}

// A member that holds a string.
inline std::string TextOf(const Json& object, const char* key) {
    return object.at(key).get<std::string>();
}

} // namespace tolvex::testing
