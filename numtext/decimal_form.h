#pragma once

#include <string>

namespace tolvex {

// A decimal number as significant digits and the power of ten of the first:
// value = d1.d2d3... * 10^exponent. Zero has no digits.
struct DecimalForm {
    bool negative = false;
    std::string digits; // no leading or trailing zeros
    int exponent = 0;

    bool IsZero() const { return digits.empty(); }
};

// The double rounded to 15 significant digits from its exact binary value,
// a tie to the even neighbour; trailing zeros dropped.
DecimalForm FifteenDigitForm(double x);

// A whole number, exactly.
DecimalForm WholeNumberForm(long long n);

} // namespace tolvex
