#include "actions.h"
#include "calc/close_winding.h"
#include "calc/design_sweep.h"
#include "calc/inductance.h"
#include "numtext/format.h"
#include "numtext/number_text.h"

namespace tolvex {

namespace {

// Read Results, join the piece to its end, write the whole back. Nothing else
// can see the field between the read and the write, so joining in place is
// the same thing without copying a long table (or a long unit text) each time.
void AppendToResults(CoilFields& fields, const std::string& piece) { fields.Results += piece; }

std::string HeaderLine(const CloseWinding& winding) {
    return "Min " + Str(winding.minimumTurns) + " turns close wound,   length " +
           Str(winding.length);
}

void WriteDesignRow(CoilFields& fields, const DesignSweep& sweep, double requiredNh,
                    double diameter, Int16& previousTurns) {
    const double length = sweep.Length();
    const Int16 turns = RowTurnCount(length, requiredNh, diameter);
    if (StartsGroup(turns, previousTurns)) AppendToResults(fields, kLineBreak);
    const double scale = UnitScale(fields.IndUnits.ListIndex());
    const double inductance = RowInductance(turns, length, diameter, scale);
    const WireLength wire = RowWireLength(turns, diameter);
    const double spacing = TurnSpacing(length, turns);

    std::string row = Format(turns, "####  Turns   ");
    row += "Length";
    row += Format(length, " ###.0   ");
    row += "Spacing ";
    row += Format(spacing, "0.00    ");
    row += Format(inductance, "0.00");
    row += fields.IndUnits.Text();
    row += "       Wire ";
    row += Format(wire.value, " ##00.0");
    row += wire.unit;
    AppendToResults(fields, row + kLineBreak);
}

} // namespace

void GO_Click(CoilFields& fields) {
    const double required = Val(fields.Ind);
    const double scale = UnitScale(fields.IndUnits.ListIndex());
    const double requiredNh = Mul(required, scale);
    const double wire = Val(fields.WireDia);
    const double former = Val(fields.FormDia);
    const double diameter = Add(former, wire);
    const CloseWinding winding = SolveCloseWinding(requiredNh, wire, diameter);
    fields.Results = HeaderLine(winding) + kLineBreak;

    Int16 previousTurns = 0;
    for (DesignSweep sweep(winding.length); sweep.HasRow(); sweep.Advance())
        WriteDesignRow(fields, sweep, requiredNh, diameter, previousTurns);
}

} // namespace tolvex
