#pragma once

#include "checked_arithmetic.h"

#include <string>
#include <string_view>

namespace tolvex {

// The leading number of a text, read the way a person types it: blanks are
// skipped anywhere, "&H"/"&O" prefixes, one point, an optional exponent; the
// rest of the text is ignored and no digit at all reads as 0. A number beyond
// the double range, or a radix number wider than 32 bits, is an overflow.
double Val(std::string_view text);

// Decimal digits, "-" in front of a negative value, nothing else.
std::string Int16ToText(Int16 n);

// One space in front of zero and positive values, "-" in front of negative
// ones; doubles in their 15-digit form, with an exponent outside 0.001..1e15.
std::string Str(Int16 n);
std::string Str(double x);

} // namespace tolvex
