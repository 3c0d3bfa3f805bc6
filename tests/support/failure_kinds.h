#pragma once

#include "numtext/arithmetic_failure.h"

#include "double_bits.h"
#include <charconv>
#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tolvex {

// gtest finds this beside the enum, so a mismatch shows "overflow", not a byte.
inline void PrintTo(FailureKind kind, std::ostream* out) {
    *out << FailureKindText(kind);
}

} // namespace tolvex

namespace tolvex::testing {

inline constexpr FailureKind kEveryFailureKind[] = {
    FailureKind::DivisionByZero, FailureKind::Overflow, FailureKind::InvalidArgument};

// The kind a test data file names by its words. A name no kind has is a fault
// in the data, never "no failure", so it ends the test.
inline FailureKind FailureKindNamed(std::string_view name) {
    for (const FailureKind kind : kEveryFailureKind)
        if (FailureKindText(kind) == name) return kind;
    throw std::invalid_argument("no failure kind is named \"" + std::string(name) + "\"");
}

// Runs `step` and gives the kind of its failure, or nothing when it succeeded.
inline std::optional<FailureKind> FailureOf(const std::function<void()>& step) {
    try {
        step();
    } catch (const ArithmeticFailure& failure) {
        return failure.kind();
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
