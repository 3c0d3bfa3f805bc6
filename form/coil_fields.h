#pragma once

#include "unit_selector.h"

#include <string>

namespace tolvex {

// Every field of the window as plain text, so that the start-up and both
// actions run the same with or without a screen.
struct CoilFields {
    CoilFields(); // each field's initial text, from the field table
    std::string FormDia;
    std::string WireDia;
    std::string Ind;
    UnitSelector IndUnits;
    std::string Turns;
    std::string Length;
    std::string IndRes;
    std::string Results; // lines end in CR LF
};

inline constexpr const char* kLineBreak = "\r\n";

} // namespace tolvex
