#pragma once

namespace tolvex {

// The coefficients of the coil formula as the nearest doubles of their
// decimal values; the close-winding constant is 1.769 as written, not the
// 4 * 0.46 / 1.02^2 it approximates, and the wire length uses 3.1416, not pi.
inline constexpr double kDiameterCoefficient = 0.46;
inline constexpr double kLengthCoefficient = 1.02;
inline constexpr double kCloseWindingConstant = 1.769;
inline constexpr double kWirePi = 3.1416; // NOLINT(modernize-use-std-numbers): 3.1416, as written

} // namespace tolvex
