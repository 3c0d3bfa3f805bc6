#pragma once

#include <cstddef>
#include <string_view>

namespace tolvex {

// At most this many digits: enough for any double to round correctly.
inline constexpr std::size_t kMaxNearestDoubleDigits = 900;

// The double nearest to digits * 10^exponent, a tie to the even neighbour;
// digits are decimal digits, the first not 0. Infinite at or beyond the
// midpoint above the largest double, zero at or below half the least
// subnormal.
double NearestDouble(std::string_view digits, long exponent);

} // namespace tolvex
