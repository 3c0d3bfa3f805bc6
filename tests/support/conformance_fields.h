#pragma once

#include "json_lines.h"
#include "window/coil_fields.h"

namespace tolvex::testing {

// The field texts of one actions.jsonl vector; the selector takes its text as
// if typed, so its list index follows from the text.
inline CoilFields FieldsOfVector(const Json& f) {
    CoilFields fields;
    fields.FormDia = TextOf(f, "FormDia");
    fields.WireDia = TextOf(f, "WireDia");
    fields.Ind = TextOf(f, "Ind");
    fields.Turns = TextOf(f, "Turns");
    fields.Length = TextOf(f, "Length");
    fields.IndUnits.SetText(TextOf(f, "IndUnitsText"));
    return fields;
}

} // namespace tolvex::testing
