#pragma once

// Exact decimal expansions of doubles and exact comparisons of decimal
// numbers with binary ones, from the bits alone: the tests' slow reference.

#include "reference_bigint.h"

#include <string>

namespace tolvex::testing {

// |x| exactly: all its digits and how many of them stand before the point
// (which may be zero or negative: 0.05 is "5" with -1).
struct ExactDecimal {
    std::string digits; // no leading zeros; empty for zero
    long pointPosition = 0;
};

inline ExactDecimal ExactDecimalOf(std::uint64_t bits) {
    const RefBinary b = RefDecompose(bits & ~(std::uint64_t{1} << 63));
    ExactDecimal exact;
    if (b.significand == 0) return exact;
    RefBig n(b.significand);
    long fractionDigits = 0;
    if (b.exponent >= 0) {
        n.ShiftLeft(b.exponent);
    } else {
        // s * 2^-k = s * 5^k / 10^k
        for (int k = -b.exponent; k > 0; k -= 13)
            n.MulSmall(k >= 13 ? 1220703125U : [k] {
                std::uint32_t p = 1;
                for (int i = 0; i < k; ++i) p *= 5;
                return p;
            }());
        fractionDigits = -b.exponent;
    }
    exact.digits = n.Decimal();
    exact.pointPosition = static_cast<long>(exact.digits.size()) - fractionDigits;
    while (!exact.digits.empty() && exact.digits.back() == '0') exact.digits.pop_back();
    return exact;
}

inline RefBig BigOfDigits(const std::string& digits) {
    RefBig n;
    for (char c : digits) n.MulSmall(10).AddSmall(static_cast<std::uint32_t>(c - '0'));
    return n;
}

inline RefBig& MulPow10(RefBig& n, long k) {
    for (; k >= 9; k -= 9) n.MulSmall(1000000000U);
    for (; k > 0; --k) n.MulSmall(10);
    return n;
}

// Sign of digits * 10^decimalExponent - m * 2^binaryExponent.
inline std::strong_ordering CompareDecimalBinary(const RefBig& digits, long decimalExponent,
                                                 std::uint64_t m, long binaryExponent) {
    RefBig left = digits;
    RefBig right(m);
    if (decimalExponent >= 0) {
        MulPow10(left, decimalExponent);
    } else {
        MulPow10(right, -decimalExponent);
    }
    if (binaryExponent >= 0) {
        right.ShiftLeft(static_cast<int>(binaryExponent));
    } else {
        left.ShiftLeft(static_cast<int>(-binaryExponent));
    }
    return left <=> right;
}

} // namespace tolvex::testing
