#pragma once

#include <cstdint>

namespace tolvex {

using Int16 = std::int16_t;

// One IEEE double operation each, rounded to nearest. A result beyond the
// double range is an overflow; a result too small becomes 0 or a subnormal.
double Add(double a, double b);
double Mul(double a, double b);
// Division by zero, or an overflow when the dividend is zero as well (0 / 0).
double Div(double a, double b);

// Correctly rounded square root; a negative argument is an invalid argument.
double Sqr(double x);

// Largest whole number not greater than x.
double Int(double x);

// Nearest whole number, an exact half to the even neighbour, from the exact
// binary value; overflow outside -32768..32767.
Int16 RoundToInt16(double x);

} // namespace tolvex
