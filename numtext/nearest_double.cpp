#include "nearest_double.h"

#include "single_rounding.h"

#include <fast_float/fast_float.h>

#include <algorithm>
#include <array>
#include <charconv>

namespace tolvex {

double NearestDouble(std::string_view digits, long exponent) {
    // Digits, up to twenty zeros, "e" and the exponent, on the stack: the
    // formatting of most doubles comes here once.
    std::array<char, kMaxNearestDoubleDigits + 48> text{};
    char* end = std::copy(digits.begin(), digits.end(), text.data());
    // fast_float rounds correctly with integers alone, except in Clinger's
    // shortcut: up to 19 digits times an exact power of ten, one double
    // multiplication, which x87 rounds twice. Twenty more zeros (the same
    // number) are more digits than the shortcut takes.
    if constexpr (!kPlainDoubleOperationsRoundOnce) {
        end = std::fill_n(end, 20, '0');
        exponent -= 20;
    }
    *end++ = 'e';
    end = std::to_chars(end, text.data() + text.size(), exponent).ptr;
    double value = 0.0;
    fast_float::from_chars(text.data(), end, value);
    return value;
}

} // namespace tolvex
