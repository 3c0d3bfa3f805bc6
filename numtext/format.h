#pragma once

#include "checked_arithmetic.h"

#include <string>
#include <string_view>

namespace tolvex {

// A number laid out by a picture of "#" and "0" digit placeholders, at most
// one ".", and literal text before and after. Doubles are rounded from their
// 15-digit form, an exact half away from zero.
std::string Format(double x, std::string_view picture);
std::string Format(Int16 n, std::string_view picture);

} // namespace tolvex
