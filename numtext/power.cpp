#include "power.h"

#include "arithmetic_failure.h"
#include "checked_arithmetic.h"
#include "single_rounding.h"

#include <mpfr.h>

#include <cstddef>

namespace tolvex {

namespace {

double CorrectlyRoundedPower(double base, long exponent) {
    const double power = SingleRoundedPower(base, exponent);
    if (mpfr_divby0_p() != 0) Fail(FailureCause::DivisionByZero);
    if (mpfr_overflow_p() != 0) Fail(FailureCause::BeyondDoubleRange);
    return power;
}

// 10^0 .. 10^22: each is a double exactly (5^22 < 2^53).
constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int kLargestExactPowerOfTen = 22;

} // namespace

double Power(double base, int exponent) {
    // One IEEE multiplication is already the correctly rounded square,
    // subnormals and overflow included, and is what every row computes.
    if (exponent == 2) return Mul(base, base);
    // Every row's unit scale is a power of ten. Up to 10^22 it is an exact
    // double; below 1 it is one IEEE division of two exact doubles, which is
    // correctly rounded like any single IEEE operation.
    if (base == 10.0 && exponent >= -kLargestExactPowerOfTen &&
        exponent <= kLargestExactPowerOfTen) {
        if (exponent >= 0) return kExactPowersOfTen[static_cast<std::size_t>(exponent)];
        return Div(1.0, kExactPowersOfTen[static_cast<std::size_t>(-exponent)]);
    }
    return CorrectlyRoundedPower(base, exponent);
}

} // namespace tolvex
