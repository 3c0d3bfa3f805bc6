#pragma once

#include <exception>
#include <string_view>

namespace tolvex {

// The three ways an operation can refuse to give a number. A failure ends the
// running action at once; nothing downstream ever sees an infinity or a NaN.
enum class FailureKind { DivisionByZero, Overflow, InvalidArgument };

// Plain words for a person: "division by zero", "overflow", "invalid argument".
std::string_view FailureKindText(FailureKind kind);

class ArithmeticFailure : public std::exception {
  public:
    explicit ArithmeticFailure(FailureKind kind) : kind_(kind) {}
    FailureKind kind() const { return kind_; }
    const char* what() const noexcept override;

  private:
    FailureKind kind_;
};

[[noreturn]] void Fail(FailureKind kind);

} // namespace tolvex
