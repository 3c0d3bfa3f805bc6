#pragma once

// The tests' slow exact reference: doubles and decimal texts as exact GMP
// integers and rationals, read from the bits and the digits alone. It shares
// nothing with the program's own conversions (no MPFR, no std::to_chars).

#include "double_bits.h"

#include <gmpxx.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace tolvex::testing {

// |x| = significand * 2^exponent with an integer significand, read from the bits.
struct RefBinary {
    std::uint64_t significand;
    int exponent;
};

inline RefBinary RefDecompose(std::uint64_t bits) {
    const int biased = static_cast<int>((bits >> 52) & 0x7FF);
    const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
    if (biased == 0) return {fraction, -1074};
    return {fraction | (std::uint64_t{1} << 52), biased - 1075};
}

// In two 32-bit halves: GMP takes an unsigned long, which wasm32 has at 32 bits.
inline mpz_class BigOf(std::uint64_t v) {
    const mpz_class high(static_cast<unsigned long>(v >> 32));
    const mpz_class low(static_cast<unsigned long>(v & 0xFFFFFFFFU));
    return mpz_class(high << 32) + low;
}

// Back from GMP in two 32-bit halves too, for values below 2^64.
inline std::uint64_t Uint64Of(const mpz_class& v) {
    const mpz_class high = v >> 32;
    const mpz_class low = v - (high << 32);
    return (std::uint64_t{high.get_ui()} << 32) | low.get_ui();
}

inline mpz_class PowerOf(unsigned long base, unsigned long exponent) {
    mpz_class p;
    mpz_ui_pow_ui(p.get_mpz_t(), base, exponent);
    return p;
}

// base^exponent for a negative exponent too, as an exact rational.
inline mpq_class RationalPower(unsigned long base, long exponent) {
    const mpz_class p = PowerOf(base, static_cast<unsigned long>(std::labs(exponent)));
    return exponent >= 0 ? mpq_class(p) : mpq_class(mpz_class(1), p);
}

// |x| exactly.
inline mpq_class ExactValueOf(std::uint64_t bits) {
    const RefBinary b = RefDecompose(bits & ~(std::uint64_t{1} << 63));
    mpq_class v = BigOf(b.significand) * RationalPower(2, b.exponent);
    v.canonicalize();
    return v;
}

// digits * 10^exponent exactly; the digits may have leading zeros.
inline mpq_class DecimalValue(const std::string& digits, long exponent) {
    mpq_class v = mpz_class(digits, 10) * RationalPower(10, exponent);
    v.canonicalize();
    return v;
}

// |x| in decimal: all its digits and how many of them stand before the point
// (which may be zero or negative: 0.05 is "5" with -1).
struct ExactDecimal {
    std::string digits; // no leading or trailing zeros; empty for zero
    long pointPosition = 0;
};

inline ExactDecimal ExactDecimalOf(std::uint64_t bits) {
    const RefBinary b = RefDecompose(bits & ~(std::uint64_t{1} << 63));
    ExactDecimal exact;
    if (b.significand == 0) return exact;
    // s * 2^-k = s * 5^k / 10^k
    const long fractionDigits = b.exponent >= 0 ? 0 : -b.exponent;
    const mpz_class n =
        b.exponent >= 0
            ? mpz_class(BigOf(b.significand) << static_cast<unsigned>(b.exponent))
            : mpz_class(BigOf(b.significand) * PowerOf(5, static_cast<unsigned long>(-b.exponent)));
    exact.digits = n.get_str(10);
    exact.pointPosition = static_cast<long>(exact.digits.size()) - fractionDigits;
    while (!exact.digits.empty() && exact.digits.back() == '0') exact.digits.pop_back();
    return exact;
}

// Whether r (not negative) is the double nearest to `exact`: between the
// midpoints to its neighbours, and on a midpoint only when r is the even one.
inline bool IsNearestDouble(const mpq_class& exact, double r) {
    const RefBinary rb = RefDecompose(BitPatternOf(r));
    const mpq_class unit = RationalPower(2, rb.exponent - 2);
    const bool atBinade = rb.significand == (std::uint64_t{1} << 52) && rb.exponent > -1074;
    const std::uint64_t four = 4 * rb.significand;
    const mpq_class lower =
        rb.significand == 0 ? mpq_class(0) : mpq_class(BigOf(four - (atBinade ? 1 : 2)) * unit);
    const mpq_class upper = BigOf(four + 2) * unit;
    const bool even = (rb.significand & 1U) == 0;
    if (exact < lower || upper < exact) return false;
    return even || (exact != lower && exact != upper);
}

// The upper midpoint of the largest double: a value at or beyond it overflows.
inline mpq_class OverflowThreshold() {
    return BigOf((std::uint64_t{1} << 54) - 1) * RationalPower(2, 970);
}

// The double nearest to `exact` (ties to the even one), subnormals included;
// for values inside the double range.
inline double NearestDoubleOf(const mpq_class& exact) {
    if (exact < 0) return -NearestDoubleOf(-exact);
    if (exact == 0) return 0.0;
    // 2^e <= exact < 2^(e+1)
    long e = static_cast<long>(mpz_sizeinbase(exact.get_num_mpz_t(), 2)) -
             static_cast<long>(mpz_sizeinbase(exact.get_den_mpz_t(), 2));
    while (RationalPower(2, e) > exact) --e;
    while (RationalPower(2, e + 1) <= exact) ++e;
    const long quantum = std::max(e - 52, -1074L);
    const mpq_class scaled = exact / RationalPower(2, quantum);
    mpz_class whole;
    mpz_fdiv_q(whole.get_mpz_t(), scaled.get_num_mpz_t(), scaled.get_den_mpz_t());
    const mpq_class rest = scaled - whole;
    if (rest > mpq_class(1, 2) || (rest == mpq_class(1, 2) && mpz_odd_p(whole.get_mpz_t()) != 0))
        ++whole;
    return std::ldexp(static_cast<double>(Uint64Of(whole)), static_cast<int>(quantum));
}

// One IEEE operation on doubles, modelled exactly: the exact result, rounded once.
inline mpq_class ExactOf(double x) {
    const mpq_class magnitude = ExactValueOf(BitPatternOf(x));
    return std::signbit(x) ? mpq_class(-magnitude) : magnitude;
}
inline double RefMul(double a, double b) {
    return NearestDoubleOf(ExactOf(a) * ExactOf(b));
}
inline double RefDiv(double a, double b) {
    return NearestDoubleOf(ExactOf(a) / ExactOf(b));
}
inline double RefAdd(double a, double b) {
    return NearestDoubleOf(ExactOf(a) + ExactOf(b));
}

// The nearest double to the square root of x >= 0: a candidate moved until the
// exact square of each midpoint to a neighbour brackets x.
inline double RefSqrt(double x) {
    const mpq_class exact = ExactOf(x);
    double r = std::sqrt(x);
    for (;;) {
        const mpq_class below = (ExactOf(r) + ExactOf(std::nextafter(r, 0.0))) / 2;
        const mpq_class above = (ExactOf(r) + ExactOf(std::nextafter(r, 1e308))) / 2;
        if (r > 0.0 && exact < below * below) {
            r = std::nextafter(r, 0.0);
        } else if (exact > above * above) {
            r = std::nextafter(r, 1e308);
        } else {
            return r;
        }
    }
}

} // namespace tolvex::testing
