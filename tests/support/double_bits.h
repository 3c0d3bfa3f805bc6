#pragma once

#include <cstdint>
#include <cstring>

namespace tolvex::testing {

// A double's IEEE bits and back. By memcpy rather than std::bit_cast, which
// the browser build's standard library (libc++ 13) does not have yet.
inline std::uint64_t BitPatternOf(double x) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &x, sizeof bits);
    return bits;
}

inline double DoubleOfBits(std::uint64_t bits) {
    double x = 0.0;
    std::memcpy(&x, &bits, sizeof x);
    return x;
}

} // namespace tolvex::testing
