#pragma once

#include "json_value.h"
#include "window/coil_fields.h"

namespace tolvex::testing {

// The field texts of one actions.jsonl vector; the selector takes its text as
// if typed, so its list index follows from the text.
inline CoilFields FieldsOfVector(const JsonValue& f) {
    CoilFields fields;
    fields.FormDia = f["FormDia"].text;
    fields.WireDia = f["WireDia"].text;
    fields.Ind = f["Ind"].text;
    fields.Turns = f["Turns"].text;
    fields.Length = f["Length"].text;
    fields.IndUnits.SetText(f["IndUnitsText"].text);
    return fields;
}

} // namespace tolvex::testing
