#pragma once

#include "numtext/arithmetic_failure.h"

#include "double_bits.h"
#include <charconv>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace tolvex::testing {

// Runs `step` and gives the failure's words, or nothing when it succeeded.
inline std::optional<std::string> FailureOf(const std::function<void()>& step) {
    try {
        step();
    } catch (const ArithmeticFailure& failure) {
        return std::string(FailureKindText(failure.kind()));
    }
    return std::nullopt;
}

inline double DoubleFromBits(const std::string& hex) {
    std::uint64_t bits = 0;
    std::from_chars(hex.data(), hex.data() + hex.size(), bits, 16);
    return DoubleOfBits(bits);
}

inline std::string BitsOf(double x) {
    char buffer[17] = {};
    auto bits = BitPatternOf(x);
    auto result = std::to_chars(buffer, buffer + 16, bits, 16);
    std::string text(buffer, result.ptr);
    return std::string(16 - text.size(), '0') + text;
}

} // namespace tolvex::testing

namespace tolvex::testing {

inline int IntOf(const std::string& text) {
    int value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

} // namespace tolvex::testing
