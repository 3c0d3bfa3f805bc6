#include "close_winding.h"

#include "coil_constants.h"
#include "numtext/power.h"

namespace tolvex {

namespace {

// m = (d + sqrt(d^2 + 1.769 D^3 / L)) / ((2 D^2 / 1.02) / L), step by step.
double CloseWindingRoot(double requiredNh, double wire, double diameter) {
    const double wireSquared = Power(wire, 2);
    const double diameterCubed = Power(diameter, 3);
    const double scaledCube = Mul(kCloseWindingConstant, diameterCubed);
    const double cubeOverL = Div(scaledCube, requiredNh);
    const double discriminant = Add(wireSquared, cubeOverL);
    const double root = Sqr(discriminant);
    const double upper = Add(wire, root);
    const double diameterSquared = Power(diameter, 2);
    const double twiceSquare = Mul(2.0, diameterSquared);
    const double overCoefficient = Div(twiceSquare, kLengthCoefficient);
    const double lower = Div(overCoefficient, requiredNh);
    return Div(upper, lower);
}

} // namespace

CloseWinding SolveCloseWinding(double requiredNh, double wire, double diameter) {
    const Int16 turns = RoundToInt16(Int(CloseWindingRoot(requiredNh, wire, diameter)));
    return {.minimumTurns = turns, .length = Mul(static_cast<double>(turns), wire)};
}

} // namespace tolvex
