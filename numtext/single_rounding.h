#pragma once

#include <cfloat>

namespace tolvex {

// Each is the double an IEEE double operation gives: MPFR computes it at 53
// bits within the double's exponent range, so it is rounded once, to nearest,
// subnormals included. A result beyond the range comes back infinite; MPFR's
// flags (mpfr_divby0_p) are left for the caller.
double SingleRoundedSum(double a, double b);
double SingleRoundedProduct(double a, double b);
double SingleRoundedQuotient(double a, double b);
double SingleRoundedSquareRoot(double x);
double SingleRoundedPower(double base, long exponent);

// True where the compiler rounds each double operation once, to a double
// (FLT_EVAL_METHOD 0 or 1). The x87 unit of i386 (FLT_EVAL_METHOD 2) keeps
// results in 80-bit registers: rounded to 64 bits, then again to 53 when
// stored, with a wider exponent range, so there the operations above are
// taken instead of the plain ones.
inline constexpr bool kPlainDoubleOperationsRoundOnce =
    FLT_EVAL_METHOD == 0 || FLT_EVAL_METHOD == 1;

} // namespace tolvex
