#pragma once

#include "coil_fields.h"

#include <array>
#include <string>
#include <string_view>

namespace tolvex {

// How a field keeps its text: a one-line text, the multi-line table (CR LF
// inside the model, a line feed alone in a text box), or the unit list.
enum class FieldKind { SingleLine, MultiLine, UnitList };

struct FormField {
    std::string_view name; // the control's name
    FieldKind kind;
    std::string CoilFields::*text; // where the model keeps it; none for the unit list
};

// Every field of the form, in the order the window lists its controls. Both
// faces and the tests take the fields from here.
inline constexpr std::array<FormField, 8> kFormFields{{
    {"FormDia", FieldKind::SingleLine, &CoilFields::FormDia},
    {"WireDia", FieldKind::SingleLine, &CoilFields::WireDia},
    {"Ind", FieldKind::SingleLine, &CoilFields::Ind},
    {"Results", FieldKind::MultiLine, &CoilFields::Results},
    {"IndUnits", FieldKind::UnitList, nullptr},
    {"Turns", FieldKind::SingleLine, &CoilFields::Turns},
    {"Length", FieldKind::SingleLine, &CoilFields::Length},
    {"IndRes", FieldKind::SingleLine, &CoilFields::IndRes},
}};

// The field of that name, or nullptr.
const FormField* FindField(std::string_view name);

// The field's text as a box shows it.
std::string ShownText(const CoilFields& fields, const FormField& field);

// A box's text into the model. The unit list selects the item its text
// equals, or none.
void TakeShownText(CoilFields& fields, const FormField& field, std::string_view shown);

// The item the unit list selects (-1 for none); -1 for every other field.
int ListIndexOf(const CoilFields& fields, const FormField& field);

// Whether both models give the field's box the same text (and item).
bool ShowsTheSame(const CoilFields& a, const CoilFields& b, const FormField& field);

// The field's text (and item) from one model into the other.
void CopyField(CoilFields& to, const CoilFields& from, const FormField& field);

} // namespace tolvex
