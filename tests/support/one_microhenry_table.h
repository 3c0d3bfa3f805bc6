#pragma once

// The table Generate Values writes for the started fields, kept as a file
// that the native and the browser tests both read.

#include <fstream>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tolvex::testing {

// What Generate Values writes for the started fields, each line ended by
// `newline`; the browser tests read the same file.
inline std::string OneMicrohenryTable(std::string_view newline) {
    std::ifstream in(std::string(TOLVEX_TEST_DATA_DIR) + "/one_microhenry_table.txt",
                     std::ios::binary);
    if (!in) throw std::runtime_error("cannot open test data one_microhenry_table.txt");
    std::string text;
    for (std::string line; std::getline(in, line);) text.append(line).append(newline);
    return text;
}

} // namespace tolvex::testing
