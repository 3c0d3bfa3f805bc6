#pragma once

#include "initial_texts.h"
#include "unit_selector.h"

#include <string>

namespace tolvex {

// Every field of the window as plain text, so that the start-up and both
// actions run the same with or without a screen.
struct CoilFields {
    std::string FormDia{initial_text::kFormDia};
    std::string WireDia{initial_text::kWireDia};
    std::string Ind{initial_text::kInd};
    UnitSelector IndUnits;
    std::string Turns;
    std::string Length;
    std::string IndRes;
    std::string Results; // lines end in CR LF
};

inline constexpr const char* kLineBreak = "\r\n";

} // namespace tolvex
