#include "checked_arithmetic.h"

#include "arithmetic_failure.h"
#include "single_rounding.h"

#include <cmath>

namespace tolvex {

namespace {

double Finite(double r) {
    if (!std::isfinite(r)) Fail(FailureCause::BeyondDoubleRange);
    return r;
}

// Where a plain operation is not one IEEE double operation (x87), MPFR's
// single rounding gives the same double instead; elsewhere the plain one is
// taken, at full speed.
double Sum(double a, double b) {
    return kPlainDoubleOperationsRoundOnce ? a + b : SingleRoundedSum(a, b);
}
double Product(double a, double b) {
    return kPlainDoubleOperationsRoundOnce ? a * b : SingleRoundedProduct(a, b);
}
double Quotient(double a, double b) {
    return kPlainDoubleOperationsRoundOnce ? a / b : SingleRoundedQuotient(a, b);
}
double SquareRoot(double x) {
    return kPlainDoubleOperationsRoundOnce ? std::sqrt(x) : SingleRoundedSquareRoot(x);
}

} // namespace

double Add(double a, double b) {
    return Finite(Sum(a, b));
}

double Mul(double a, double b) {
    return Finite(Product(a, b));
}

double Div(double a, double b) {
    if (b == 0.0) Fail(a == 0.0 ? FailureCause::ZeroDividedByZero : FailureCause::DivisionByZero);
    return Finite(Quotient(a, b));
}

double Sqr(double x) {
    if (x < 0.0) Fail(FailureCause::NegativeSquareRoot);
    return SquareRoot(x);
}

double Int(double x) {
    return std::floor(x);
}

Int16 RoundToInt16(double x) {
    // floor and a comparison of the exact remainder: no dependence on the
    // floating-point environment's rounding mode.
    double whole = std::floor(x);
    double rest = x - whole; // exact for |x| < 2^52; zero above
    if (rest > 0.5 || (rest == 0.5 && std::fmod(whole, 2.0) != 0.0)) whole += 1.0;
    const bool inRange = whole >= -32768.0 && whole <= 32767.0; // false for NaN
    if (!inRange) Fail(FailureCause::BeyondInt16);
    return static_cast<Int16>(whole);
}

} // namespace tolvex
