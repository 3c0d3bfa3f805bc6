#include "arithmetic_failure.h"

namespace tolvex {

std::string_view FailureKindText(FailureKind kind) {
    switch (kind) {
    case FailureKind::DivisionByZero:
        return "division by zero";
    case FailureKind::Overflow:
        return "overflow";
    case FailureKind::InvalidArgument:
        return "invalid argument";
    }
    return "overflow";
}

const char* ArithmeticFailure::what() const noexcept {
    return FailureKindText(kind_).data();
}

void Fail(FailureKind kind) {
    throw ArithmeticFailure(kind);
}

} // namespace tolvex
