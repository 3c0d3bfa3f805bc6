#include "inductance.h"

#include "coil_constants.h"
#include "numtext/number_text.h"
#include "numtext/power.h"

namespace tolvex {

double InductanceNh(double turns, double diameter, double length) {
    const double numerator = Mul(Mul(Mul(turns, turns), diameter), diameter);
    const double denominator =
        Add(Mul(kDiameterCoefficient, diameter), Mul(kLengthCoefficient, length));
    return Div(numerator, denominator);
}

double UnitScale(Int16 unitIndex) {
    const double k = Val(Int16ToText(unitIndex));
    const double exponent = Mul(k, 3.0);
    // A 16-bit index times 3 is a whole number well inside int.
    return Power(10.0, static_cast<int>(exponent));
}

} // namespace tolvex
