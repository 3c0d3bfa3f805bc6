#pragma once

#include "numtext/checked_arithmetic.h"

namespace tolvex {

// Coil lengths from the close-winding length up to twice it, in tenths, as a
// running sum (never recomputed from the row number, so rounding carries).
class DesignSweep {
  public:
    explicit DesignSweep(double closeWindingLength);

    bool HasRow() const;
    double Length() const { return length_; }
    // Moves to the next length. A step too small to move the running length
    // (a close-winding length of 0) ends the sweep instead of repeating a row.
    void Advance();

  private:
    double length_;
    double step_;
    double end_;
    bool stalled_ = false;
};

// The whole turn count that a length needs for the required inductance.
Int16 RowTurnCount(double length, double requiredNh, double diameter);

// A row starts a group when its count rises above the previous row's.
bool StartsGroup(Int16 turns, Int16& previousTurns);

// Inductance in the displayed unit that `turns` actually give at `length`.
double RowInductance(Int16 turns, double length, double diameter, double unitScale);

struct WireLength {
    double value;
    const char* unit; // "mm", or "m" above 1000 mm
};
WireLength RowWireLength(Int16 turns, double diameter);

double TurnSpacing(double length, Int16 turns);

} // namespace tolvex
