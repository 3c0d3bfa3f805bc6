#pragma once

#include <cstdint>
#include <vector>

namespace tolvex {

// A small unsigned big integer, just enough to hold exact powers of a double's
// significand and to round them back to a double.
class BigUint {
  public:
    BigUint() = default;
    explicit BigUint(std::uint64_t v);

    static BigUint Product(const BigUint& a, const BigUint& b);

    int BitLength() const;
    bool Bit(int index) const;
    bool AnyBitBelow(int index) const;
    bool IsZero() const { return limbs_.empty(); }

    // floor(2^shift / divisor), and whether a remainder was left.
    static BigUint PowerOfTwoOver(int shift, const BigUint& divisor, bool& inexact);

  private:
    void Trim();
    void ShiftLeftOneAndAdd(bool bit);
    bool LessThan(const BigUint& other) const;
    void Subtract(const BigUint& other);
    void SetBit(int index);

    std::vector<std::uint32_t> limbs_; // little-endian, no high zero limbs
};

// The double nearest to (mantissa + sticky part) * 2^exponent, ties to even,
// with subnormals; throws an overflow beyond the double range. `sticky` says
// that a non-zero part smaller than the lowest bit of mantissa was dropped; it
// only matters when mantissa has more bits than the result keeps, which the
// callers ensure by computing at least 64 bits.
double RoundToDouble(const BigUint& mantissa, long exponent, bool sticky, bool negative);

} // namespace tolvex
