#include "inductance.h"

#include "coil_constants.h"
#include "numtext/number_text.h"
#include "numtext/power.h"

namespace tolvex {

double FormulaDenominator(double diameter, double length) {
    const double diameterTerm = Mul(kDiameterCoefficient, diameter);
    const double lengthTerm = Mul(kLengthCoefficient, length);
    return Add(diameterTerm, lengthTerm);
}

double NumeratorInTurn(double turns, double diameter) {
    return Mul(Mul(Mul(turns, turns), diameter), diameter);
}

double NumeratorBySquares(double turns, double diameter) {
    const double turnsSquared = Power(turns, 2);
    const double diameterSquared = Power(diameter, 2);
    return Mul(turnsSquared, diameterSquared);
}

double InductanceNh(double turns, double diameter, double length) {
    return Div(NumeratorInTurn(turns, diameter), FormulaDenominator(diameter, length));
}

double UnitScale(Int16 unitIndex) {
    const double k = Val(Int16ToText(unitIndex));
    const double exponent = Mul(k, 3.0);
    // A 16-bit index times 3 is a whole number well inside int.
    return Power(10.0, static_cast<int>(exponent));
}

} // namespace tolvex
