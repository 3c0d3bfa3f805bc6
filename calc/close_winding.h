#pragma once

#include "numtext/checked_arithmetic.h"

namespace tolvex {

// The least whole turn count of a coil whose turns touch, and its length.
struct CloseWinding {
    Int16 minimumTurns;
    double length; // mm
};

// requiredNh: inductance in nH; wire and diameter (former + wire) in mm.
CloseWinding SolveCloseWinding(double requiredNh, double wire, double diameter);

} // namespace tolvex
