#pragma once

// The worked examples the window tests and benchmarks start from.

#include "form/actions.h"

#include <string>
#include <string_view>

namespace tolvex::testing {

// The fields as the window first shows them: 20 mm former, 0.5 mm wire, 1 uH.
inline CoilFields StartedFields() {
    CoilFields fields;
    Form_Load(fields);
    return fields;
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
