#include "power.h"

#include "arithmetic_failure.h"
#include "exact_binary.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace tolvex {

namespace {

// |x| = odd * 2^exponent, exactly.
struct OddSignificand {
    std::uint64_t odd;
    long exponent;
};

OddSignificand Decompose(double x) {
    int e = 0;
    double fraction = std::frexp(std::fabs(x), &e); // [0.5, 1)
    auto odd = static_cast<std::uint64_t>(std::ldexp(fraction, 64));
    long exponent = e - 64L;
    const int zeros = __builtin_ctzll(odd);
    return {odd >> zeros, exponent + zeros};
}

BigUint RaiseWhole(std::uint64_t base, long exponent) {
    BigUint result(1);
    BigUint factor(base);
    for (long e = exponent; e != 0; e >>= 1) {
        if ((e & 1) != 0) result = BigUint::Product(result, factor);
        if (e > 1) factor = BigUint::Product(factor, factor);
    }
    return result;
}

// odd^n when it fits 53 bits, so that the double holds it exactly.
bool SmallExactPower(std::uint64_t odd, long n, double& value) {
    constexpr std::uint64_t kExactLimit = std::uint64_t{1} << 53;
    std::uint64_t result = 1;
    for (long i = 0; i < n; ++i) {
        if (result > kExactLimit / odd) return false;
        result *= odd;
    }
    value = static_cast<double>(result);
    return true;
}

// The common case: small significands (10, 20.5, a turn count) whose power
// is exact, or whose reciprocal is one correctly rounded division.
bool TryExactPower(const OddSignificand& s, long n, bool reciprocal, double& result) {
    double whole = 0.0;
    if (!SmallExactPower(s.odd, n, whole)) return false;
    const long scale = s.exponent * n;
    if (scale < -1000 || scale > 1000) return false;
    const double exact = std::ldexp(whole, static_cast<int>(scale));
    if (!std::isnormal(exact)) return false;
    result = reciprocal ? 1.0 / exact : exact;
    return std::isfinite(result);
}

} // namespace

double Power(double base, int exponent) {
    if (exponent == 0) return 1.0;
    const bool negative = std::signbit(base) && (exponent % 2 != 0);
    if (base == 0.0) {
        if (exponent < 0) Fail(FailureKind::DivisionByZero);
        return negative ? -0.0 : 0.0;
    }
    const OddSignificand s = Decompose(base);
    const long n = exponent < 0 ? -static_cast<long>(exponent) : exponent;

    // Settle hopeless magnitudes before building enormous integers.
    const double log2Magnitude = static_cast<double>(n) * std::log2(std::fabs(base));
    const double signedLog2 = exponent < 0 ? -log2Magnitude : log2Magnitude;
    if (signedLog2 > 1100.0) Fail(FailureKind::Overflow);
    if (signedLog2 < -1200.0) return negative ? -0.0 : 0.0;

    double quick = 0.0;
    if (TryExactPower(s, n, exponent < 0, quick)) return negative ? -quick : quick;

    const BigUint raised = RaiseWhole(s.odd, n);
    if (exponent > 0) return RoundToDouble(raised, s.exponent * n, false, negative);

    // 1 / (odd^n * 2^(e*n)) = (2^shift / odd^n) * 2^(-e*n - shift)
    const int shift = raised.BitLength() + 64;
    bool inexact = false;
    const BigUint quotient = BigUint::PowerOfTwoOver(shift, raised, inexact);
    return RoundToDouble(quotient, -s.exponent * n - shift, inexact, negative);
}

} // namespace tolvex
