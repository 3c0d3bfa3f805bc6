#pragma once

// The worked examples the window tests and benchmarks start from.

#include "window/actions.h"

#include <string>
#include <string_view>

namespace tolvex::testing {

// The fields as the window first shows them: 20 mm former, 0.5 mm wire, 1 uH.
inline CoilFields StartedFields() {
    CoilFields fields;
    Form_Load(fields);
    return fields;
}

// What Generate Values writes for the started fields, each line ended by `newline`.
inline std::string OneMicrohenryTable(std::string_view newline) {
    constexpr std::string_view kLines[] = {
        "Min  5 turns close wound,   length  2.5",
        "",
        "5  Turns   Length 2.5   Spacing 0.50    0.88uH       Wire  322.0mm",
        "5  Turns   Length 2.8   Spacing 0.55    0.86uH       Wire  322.0mm",
        "5  Turns   Length 3.0   Spacing 0.60    0.84uH       Wire  322.0mm",
        "",
        "6  Turns   Length 3.3   Spacing 0.54    1.19uH       Wire  386.4mm",
        "6  Turns   Length 3.5   Spacing 0.58    1.16uH       Wire  386.4mm",
        "6  Turns   Length 3.8   Spacing 0.63    1.14uH       Wire  386.4mm",
        "6  Turns   Length 4.0   Spacing 0.67    1.12uH       Wire  386.4mm",
        "6  Turns   Length 4.3   Spacing 0.71    1.10uH       Wire  386.4mm",
        "6  Turns   Length 4.5   Spacing 0.75    1.08uH       Wire  386.4mm",
        "6  Turns   Length 4.8   Spacing 0.79    1.06uH       Wire  386.4mm",
        "6  Turns   Length 5.0   Spacing 0.83    1.04uH       Wire  386.4mm",
    };
    std::string text;
    for (std::string_view line : kLines) text.append(line).append(newline);
    return text;
}

// The lines of a Results text ended by "\r\n" after the header: design rows
// and the empty lines that open each group of one turn count.
struct TableShape {
    int rows = 0;
    int groups = 0;
};

inline TableShape ShapeOf(std::string_view results) {
    TableShape shape;
    std::size_t start = results.find("\r\n");
    if (start == std::string_view::npos) return shape;
    start += 2;
    for (std::size_t end; (end = results.find("\r\n", start)) != std::string_view::npos;
         start = end + 2)
        (end == start ? shape.groups : shape.rows)++;
    return shape;
}

} // namespace tolvex::testing
