#pragma once

#include "numtext/checked_arithmetic.h"

namespace tolvex {

// L(nH) = (N.D)^2 / (0.46.D + 1.02.len), multiplied out as N*N*D*D in turn.
double InductanceNh(double turns, double diameter, double length);

// Nanohenries per displayed unit, 10^(3k): the index goes through its text and
// back, as the rest of the program's numbers do.
double UnitScale(Int16 unitIndex);

} // namespace tolvex
