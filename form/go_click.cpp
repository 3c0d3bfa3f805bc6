#include "actions.h"
#include "calc/close_winding.h"
#include "calc/design_sweep.h"
#include "calc/inductance.h"
#include "numtext/format.h"
#include "numtext/number_text.h"

#include <string_view>

namespace tolvex {

namespace {

// Read Results, join the piece to its end, write the whole back. Nothing else
// can see the field between the read and the write, so joining in place is
// the same thing without copying a long table (or a long unit text) each time.
void AppendToResults(CoilFields& fields, std::string_view piece) {
    fields.Results += piece;
}

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

    // Every number of the row is known and formatting cannot fail, so the
    // row is written whole, or (after a failure above) not at all.
    const std::string turnsText = Format(turns, "####  Turns   ");
    const std::string lengthText = Format(length, " ###.0   ");
    const std::string spacingText = Format(spacing, "0.00    ");
    const std::string inductanceText = Format(inductance, "0.00");
    const std::string wireText = Format(wire.value, " ##00.0");
    const std::string_view row[] = {turnsText,
                                    "Length",
                                    lengthText,
                                    "Spacing ",
                                    spacingText,
                                    inductanceText,
                                    fields.IndUnits.Text(),
                                    "       Wire ",
                                    wireText,
                                    wire.unit,
                                    kLineBreak};
    for (std::string_view piece : row) AppendToResults(fields, piece);
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
    fields.Results.assign(HeaderLine(winding)).append(kLineBreak); // replaces, keeping the buffer

    Int16 previousTurns = 0;
    for (DesignSweep sweep(winding.length); sweep.HasRow(); sweep.Advance())
        WriteDesignRow(fields, sweep, requiredNh, diameter, previousTurns);
}

} // namespace tolvex
