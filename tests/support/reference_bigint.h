#pragma once

// A slow, obviously correct unsigned big integer for the tests' exact
// references: base 10^9 limbs, so decimal digits fall out directly, and no
// floating point anywhere. Deliberately unlike the program's own code.

#include <algorithm>
#include <compare>
#include <cstdint>
#include <string>
#include <vector>

namespace tolvex::testing {

class RefBig {
  public:
    static constexpr std::uint32_t kBase = 1000000000U;

    RefBig() = default;
    explicit RefBig(std::uint64_t v) {
        while (v != 0) {
            limbs_.push_back(static_cast<std::uint32_t>(v % kBase));
            v /= kBase;
        }
    }

    bool IsZero() const { return limbs_.empty(); }

    RefBig& MulSmall(std::uint32_t m) {
        std::uint64_t carry = 0;
        for (auto& limb : limbs_) {
            std::uint64_t t = std::uint64_t{limb} * m + carry;
            limb = static_cast<std::uint32_t>(t % kBase);
            carry = t / kBase;
        }
        while (carry != 0) {
            limbs_.push_back(static_cast<std::uint32_t>(carry % kBase));
            carry /= kBase;
        }
        Trim();
        return *this;
    }

    RefBig& AddSmall(std::uint32_t a) {
        std::uint64_t carry = a;
        for (std::size_t i = 0; carry != 0; ++i) {
            if (i == limbs_.size()) limbs_.push_back(0);
            std::uint64_t t = std::uint64_t{limbs_[i]} + carry;
            limbs_[i] = static_cast<std::uint32_t>(t % kBase);
            carry = t / kBase;
        }
        return *this;
    }

    RefBig& ShiftLeft(int bits) {
        for (; bits >= 31; bits -= 31) MulSmall(1U << 31);
        if (bits > 0) MulSmall(1U << bits);
        return *this;
    }

    static RefBig Mul(const RefBig& a, const RefBig& b) {
        RefBig r;
        if (a.IsZero() || b.IsZero()) return r;
        std::vector<std::uint64_t> acc(a.limbs_.size() + b.limbs_.size() + 1, 0);
        for (std::size_t i = 0; i < a.limbs_.size(); ++i) {
            for (std::size_t j = 0; j < b.limbs_.size(); ++j) {
                acc[i + j] += std::uint64_t{a.limbs_[i]} * b.limbs_[j];
                acc[i + j + 1] += acc[i + j] / kBase;
                acc[i + j] %= kBase;
            }
        }
        for (std::size_t k = 0; k + 1 < acc.size(); ++k) {
            acc[k + 1] += acc[k] / kBase;
            acc[k] %= kBase;
        }
        for (auto v : acc) r.limbs_.push_back(static_cast<std::uint32_t>(v));
        r.Trim();
        return r;
    }

    // Decimal digits, "0" for zero.
    std::string Decimal() const {
        if (limbs_.empty()) return "0";
        std::string s = std::to_string(limbs_.back());
        for (std::size_t i = limbs_.size() - 1; i-- > 0;) {
            std::string part = std::to_string(limbs_[i]);
            s += std::string(9 - part.size(), '0') + part;
        }
        return s;
    }

    friend std::strong_ordering operator<=>(const RefBig& a, const RefBig& b) {
        if (a.limbs_.size() != b.limbs_.size()) return a.limbs_.size() <=> b.limbs_.size();
        for (std::size_t i = a.limbs_.size(); i-- > 0;)
            if (a.limbs_[i] != b.limbs_[i]) return a.limbs_[i] <=> b.limbs_[i];
        return std::strong_ordering::equal;
    }
    friend bool operator==(const RefBig& a, const RefBig& b) { return a.limbs_ == b.limbs_; }

  private:
    void Trim() {
        while (!limbs_.empty() && limbs_.back() == 0) limbs_.pop_back();
    }
    std::vector<std::uint32_t> limbs_;
};

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

} // namespace tolvex::testing
