#pragma once

#include <cstdint>
#include <exception>
#include <string_view>

namespace tolvex {

// The three ways an operation can refuse to give a number. A failure ends the
// running action at once; nothing downstream ever sees an infinity or a NaN.
enum class FailureKind : std::uint8_t { DivisionByZero, Overflow, InvalidArgument };

// What happened, finer than the kind: three different things are an overflow.
enum class FailureCause : std::uint8_t {
    DivisionByZero,     // a number other than 0 divided by 0, or 0 to a negative power
    BeyondDoubleRange,  // a result or a read number beyond the largest double
    ZeroDividedByZero,  // 0 / 0, which has no value at all
    BeyondInt16,        // a whole number (a turn count) outside -32768..32767
    RadixBeyond32Bits,  // an "&H" or "&O" number wider than 32 bits
    NegativeSquareRoot, // the square root of a negative number
};

FailureKind KindOf(FailureCause cause);

// Plain words for a person: "division by zero", "overflow", "invalid argument".
std::string_view FailureKindText(FailureKind kind);

class ArithmeticFailure : public std::exception {
  public:
    explicit ArithmeticFailure(FailureCause cause) : cause_(cause) {}
    FailureCause cause() const { return cause_; }
    FailureKind kind() const { return KindOf(cause_); }
    const char* what() const noexcept override;

  private:
    FailureCause cause_;
};

[[noreturn]] void Fail(FailureCause cause);

} // namespace tolvex
