#include "design_sweep.h"

#include "coil_constants.h"
#include "inductance.h"

namespace tolvex {

DesignSweep::DesignSweep(double closeWindingLength)
    : length_(closeWindingLength), step_(Div(closeWindingLength, 10.0)),
      end_(Mul(closeWindingLength, 2.0)) {}

bool DesignSweep::HasRow() const {
    if (stalled_) return false;
    return step_ >= 0.0 ? length_ <= end_ : length_ >= end_;
}

void DesignSweep::Advance() {
    const double next = Add(length_, step_);
    if (next == length_) stalled_ = true;
    length_ = next;
}

Int16 RowTurnCount(double length, double requiredNh, double diameter) {
    const double denominator = FormulaDenominator(diameter, length);
    const double underRoot = Mul(denominator, requiredNh);
    const double root = Sqr(underRoot);
    return RoundToInt16(Div(root, diameter));
}

bool StartsGroup(Int16 turns, Int16& previousTurns) {
    const bool rises = turns > previousTurns;
    previousTurns = turns;
    return rises;
}

double RowInductance(Int16 turns, double length, double diameter, double unitScale) {
    const double numerator = NumeratorBySquares(static_cast<double>(turns), diameter);
    const double nanohenries = Div(numerator, FormulaDenominator(diameter, length));
    return Div(nanohenries, unitScale);
}

WireLength RowWireLength(Int16 turns, double diameter) {
    const double millimetres = Mul(Mul(static_cast<double>(turns), diameter), kWirePi);
    if (millimetres > 1000.0) return {.value = Div(millimetres, 1000.0), .unit = "m"};
    return {.value = millimetres, .unit = "mm"};
}

double TurnSpacing(double length, Int16 turns) {
    return Div(length, static_cast<double>(turns));
}

} // namespace tolvex
