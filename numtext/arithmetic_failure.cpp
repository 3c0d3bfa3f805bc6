#include "arithmetic_failure.h"

namespace tolvex {

FailureKind KindOf(FailureCause cause) {
    switch (cause) {
    case FailureCause::DivisionByZero:
        return FailureKind::DivisionByZero;
    case FailureCause::NegativeSquareRoot:
        return FailureKind::InvalidArgument;
    case FailureCause::BeyondDoubleRange:
    case FailureCause::ZeroDividedByZero:
    case FailureCause::BeyondInt16:
    case FailureCause::RadixBeyond32Bits:
        break;
    }
    return FailureKind::Overflow;
}

std::string_view FailureKindText(FailureKind kind) {
    switch (kind) {
    case FailureKind::DivisionByZero:
        return "division by zero";
    case FailureKind::InvalidArgument:
        return "invalid argument";
    case FailureKind::Overflow:
        break;
    }
    return "overflow";
}

const char* ArithmeticFailure::what() const noexcept {
    return FailureKindText(kind()).data();
}

void Fail(FailureCause cause) {
    throw ArithmeticFailure(cause);
}

} // namespace tolvex
