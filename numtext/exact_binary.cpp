#include "exact_binary.h"

#include "arithmetic_failure.h"

#include <algorithm>
#include <cmath>

namespace tolvex {

BigUint::BigUint(std::uint64_t v) {
    while (v != 0) {
        limbs_.push_back(static_cast<std::uint32_t>(v));
        v >>= 32;
    }
}

BigUint BigUint::Product(const BigUint& a, const BigUint& b) {
    BigUint r;
    if (a.IsZero() || b.IsZero()) return r;
    r.limbs_.assign(a.limbs_.size() + b.limbs_.size(), 0);
    for (std::size_t i = 0; i < a.limbs_.size(); ++i) {
        std::uint64_t carry = 0;
        for (std::size_t j = 0; j < b.limbs_.size(); ++j) {
            std::uint64_t t = std::uint64_t{a.limbs_[i]} * b.limbs_[j] + r.limbs_[i + j] + carry;
            r.limbs_[i + j] = static_cast<std::uint32_t>(t);
            carry = t >> 32;
        }
        r.limbs_[i + b.limbs_.size()] = static_cast<std::uint32_t>(carry);
    }
    r.Trim();
    return r;
}

int BigUint::BitLength() const {
    if (limbs_.empty()) return 0;
    int top = 32 - __builtin_clz(limbs_.back());
    return static_cast<int>(32 * (limbs_.size() - 1)) + top;
}

bool BigUint::Bit(int index) const {
    if (index < 0) return false;
    auto limb = static_cast<std::size_t>(index / 32);
    if (limb >= limbs_.size()) return false;
    return ((limbs_[limb] >> (index % 32)) & 1U) != 0;
}

bool BigUint::AnyBitBelow(int index) const {
    if (index <= 0) return false;
    auto full = static_cast<std::size_t>(index / 32);
    for (std::size_t i = 0; i < full && i < limbs_.size(); ++i)
        if (limbs_[i] != 0) return true;
    if (full < limbs_.size() && index % 32 != 0) {
        std::uint32_t mask = (1U << (index % 32)) - 1U;
        if ((limbs_[full] & mask) != 0) return true;
    }
    return false;
}

void BigUint::Trim() {
    while (!limbs_.empty() && limbs_.back() == 0) limbs_.pop_back();
}

void BigUint::ShiftLeftOneAndAdd(bool bit) {
    std::uint32_t carry = bit ? 1U : 0U;
    for (auto& limb : limbs_) {
        std::uint32_t out = limb >> 31;
        limb = (limb << 1) | carry;
        carry = out;
    }
    if (carry != 0) limbs_.push_back(carry);
}

bool BigUint::LessThan(const BigUint& other) const {
    if (limbs_.size() != other.limbs_.size()) return limbs_.size() < other.limbs_.size();
    for (std::size_t i = limbs_.size(); i-- > 0;)
        if (limbs_[i] != other.limbs_[i]) return limbs_[i] < other.limbs_[i];
    return false;
}

void BigUint::Subtract(const BigUint& other) {
    std::int64_t borrow = 0;
    for (std::size_t i = 0; i < limbs_.size(); ++i) {
        std::int64_t t = std::int64_t{limbs_[i]} - borrow -
                         (i < other.limbs_.size() ? std::int64_t{other.limbs_[i]} : 0);
        borrow = t < 0 ? 1 : 0;
        limbs_[i] = static_cast<std::uint32_t>(t + (borrow << 32));
    }
    Trim();
}

void BigUint::SetBit(int index) {
    auto limb = static_cast<std::size_t>(index / 32);
    if (limbs_.size() <= limb) limbs_.resize(limb + 1, 0);
    limbs_[limb] |= 1U << (index % 32);
}

BigUint BigUint::PowerOfTwoOver(int shift, const BigUint& divisor, bool& inexact) {
    // Schoolbook binary long division: only the rare negative powers with an
    // inexact result come here, so clarity beats speed.
    BigUint quotient;
    BigUint remainder;
    for (int bit = shift; bit >= 0; --bit) {
        remainder.ShiftLeftOneAndAdd(bit == shift);
        if (!remainder.LessThan(divisor)) {
            remainder.Subtract(divisor);
            quotient.SetBit(bit);
        }
    }
    inexact = !remainder.IsZero();
    return quotient;
}

double RoundToDouble(const BigUint& mantissa, long exponent, bool sticky, bool negative) {
    constexpr long kMinNormalExponent = -1022;
    constexpr long kSubnormalUnitExponent = -1074;
    const double sign = negative ? -1.0 : 1.0;
    if (mantissa.IsZero()) return sign * 0.0;

    const long bits = mantissa.BitLength();
    const long topExponent = bits - 1 + exponent;
    if (topExponent > 1023) Fail(FailureKind::Overflow);

    // Keep 53 bits, fewer in the subnormal range where the unit is fixed at 2^-1074.
    long keep = 53;
    if (topExponent < kMinNormalExponent) keep = topExponent - kSubnormalUnitExponent + 1;
    const long drop = bits - keep;
    const long low = drop > 0 ? drop : 0;

    std::uint64_t kept = 0;
    for (long i = bits - 1; i >= low; --i)
        kept = (kept << 1) | (mantissa.Bit(static_cast<int>(i)) ? 1U : 0U);
    if (drop <= 0) return sign * std::ldexp(static_cast<double>(kept), static_cast<int>(exponent));
    const bool half = mantissa.Bit(static_cast<int>(drop - 1));
    const bool below = sticky || mantissa.AnyBitBelow(static_cast<int>(drop - 1));
    if (half && (below || (kept & 1U) != 0)) ++kept;
    const double result = std::ldexp(static_cast<double>(kept), static_cast<int>(exponent + drop));
    if (!std::isfinite(result)) Fail(FailureKind::Overflow);
    return sign * result;
}

} // namespace tolvex
