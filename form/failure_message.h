#pragma once

#include "numtext/arithmetic_failure.h"

#include <string>
#include <string_view>

namespace tolvex {

// The words a person sees when an action ("Generate Values", "Calculate
// Inductance") stops: the action, the kind of failure and what happened.
// Shared by every front end, so that each says the same.
std::string FailureMessage(std::string_view action, const ArithmeticFailure& failure);

} // namespace tolvex
