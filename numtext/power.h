#pragma once

namespace tolvex {

// base raised to a whole exponent: the double nearest the exact power (libm's
// pow does not promise that). Overflow beyond the double range; a result too
// small becomes 0 or a subnormal; 0 to a negative power is a division by zero.
double Power(double base, int exponent);

} // namespace tolvex
