#include "actions.h"
#include "calc/inductance.h"
#include "numtext/format.h"
#include "numtext/number_text.h"

namespace tolvex {

void CalcInd_Click(CoilFields& fields) {
    const double turns = Val(fields.Turns);
    const double wire = Val(fields.WireDia);
    const double former = Val(fields.FormDia);
    const double diameter = Add(former, wire);
    const double length = Val(fields.Length);
    const double nanohenries = InductanceNh(turns, diameter, length);
    const double scale = UnitScale(fields.IndUnits.ListIndex());
    const double value = Div(nanohenries, scale);
    const std::string number = Format(value, "#######.##");
    fields.IndRes = number + fields.IndUnits.Text();
}

} // namespace tolvex
