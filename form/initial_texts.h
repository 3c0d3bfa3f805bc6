#pragma once

#include <string_view>

namespace tolvex::initial_text {

// What the fields hold before start-up runs: the field model and the window's
// description both take them from here.
inline constexpr std::string_view kFormDia = "20";
inline constexpr std::string_view kWireDia = "0.5";
inline constexpr std::string_view kInd = "1";
inline constexpr std::string_view kIndUnits = " "; // one space until start-up selects "uH"

} // namespace tolvex::initial_text
