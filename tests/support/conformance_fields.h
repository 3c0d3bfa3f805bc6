#pragma once

#include "form/field_table.h"
#include "json_lines.h"

namespace tolvex::testing {

// The field texts of one actions.jsonl vector, by the form's field names; the
// selector takes its text as if typed ("IndUnitsText"), so its list index
// follows from the text.
inline CoilFields FieldsOfVector(const Json& f) {
    CoilFields fields;
    for (const FormField& field : kFormFields) {
        const std::string key =
            std::string(field.name) + (field.kind == FieldKind::UnitList ? "Text" : "");
        if (f.contains(key)) TakeShownText(fields, field, TextOf(f, key.c_str()));
    }
    return fields;
}

} // namespace tolvex::testing
