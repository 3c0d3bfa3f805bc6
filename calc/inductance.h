#pragma once

#include "numtext/checked_arithmetic.h"

namespace tolvex {

// 0.46*D + 1.02*len, the formula's denominator wherever it appears.
double FormulaDenominator(double diameter, double length);

// The numerator (N*D)^2 in the two orders the program uses. Calculate
// Inductance multiplies N*N*D*D left to right; a design row multiplies the two
// squares N^2 and D^2. Each order rounds at other steps, so the last bit can
// differ, and each action keeps its own.
double NumeratorInTurn(double turns, double diameter);
double NumeratorBySquares(double turns, double diameter);

// L(nH) = (N.D)^2 / (0.46.D + 1.02.len), the numerator in turn.
double InductanceNh(double turns, double diameter, double length);

// Nanohenries per displayed unit, 10^(3k): the index goes through its text and
// back, as the rest of the program's numbers do.
double UnitScale(Int16 unitIndex);

} // namespace tolvex
