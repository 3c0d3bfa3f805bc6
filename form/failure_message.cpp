#include "failure_message.h"

namespace tolvex {

namespace {

// What followed the kind, in words that need no knowledge of the arithmetic.
std::string_view WhatHappened(FailureCause cause) {
    switch (cause) {
    case FailureCause::DivisionByZero:
        return "a division by zero.";
    case FailureCause::ZeroDividedByZero:
        return "an overflow: 0 was divided by 0, which has no value.";
    case FailureCause::BeyondInt16:
        return "an overflow: a turn count is outside the whole numbers -32768 to 32767.";
    case FailureCause::RadixBeyond32Bits:
        return "an overflow: a hexadecimal or octal number is wider than 32 bits.";
    case FailureCause::NegativeSquareRoot:
        return "an invalid argument: the square root of a negative number.";
    case FailureCause::BeyondDoubleRange:
        break;
    }
    return "an overflow: a number is too large.";
}

} // namespace

std::string FailureMessage(std::string_view action, const ArithmeticFailure& failure) {
    std::string text(action);
    text += " stopped with ";
    text += WhatHappened(failure.cause());
    return text;
}

} // namespace tolvex
