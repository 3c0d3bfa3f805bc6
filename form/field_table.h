#pragma once

#include "coil_fields.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace tolvex {

// How a field keeps its text: a one-line text, the multi-line table (CR LF
// inside the model, a line feed alone in a text box), or the unit list.
enum class FieldKind { SingleLine, MultiLine, UnitList };

// A place on the window in twips (15 to a pixel at 96 dots per inch).
struct Twips {
    int left, top, width, height;
};

// The caption that names a field, right-aligned before it.
struct FieldLabel {
    std::string_view name; // the label's own control name; "" for a field no caption names
    std::string_view caption;
    Twips box;
    int tabIndex;
};

// One field of the window: what the model keeps and what the window shows.
struct FormField {
    std::string_view name;         // the control's name
    std::string CoilFields::*text; // where the model keeps it; none for the unit list
    FieldKind kind;
    std::string_view initialText{}; // before start-up
    FieldLabel label{};
    std::string_view accessibleName{}; // where no caption names the field
    Twips box;
    int tabIndex;
};

// Every field of the form, in the order the window lists its controls. The
// field model, both faces, the window's description and the tests take the
// fields from here.
inline constexpr std::array kFormFields{
    FormField{.name = "FormDia",
              .text = &CoilFields::FormDia,
              .kind = FieldKind::SingleLine,
              .initialText = "20",
              .label = {"Label2", "Former Diameter (mm)", {120, 720, 1575, 255}, 6},
              .box = {1800, 720, 1575, 285},
              .tabIndex = 0},
    FormField{.name = "WireDia",
              .text = &CoilFields::WireDia,
              .kind = FieldKind::SingleLine,
              .initialText = "0.5",
              .label = {"Label3", "Wire Diameter  mm", {240, 1200, 1455, 375}, 7},
              .box = {1800, 1200, 1575, 285},
              .tabIndex = 1},
    FormField{.name = "Ind",
              .text = &CoilFields::Ind,
              .kind = FieldKind::SingleLine,
              .initialText = "1",
              .label = {"Label1", "Inductance", {600, 240, 1095, 255}, 5},
              .box = {1800, 240, 1575, 285},
              .tabIndex = 2},
    FormField{.name = "Results",
              .text = &CoilFields::Results,
              .kind = FieldKind::MultiLine,
              .accessibleName = "Design table",
              .box = {120, 2280, 6135, 3375},
              .tabIndex = 4},
    FormField{.name = "IndUnits",
              .text = nullptr,
              .kind = FieldKind::UnitList,
              .initialText = " ", // one space until start-up selects "uH"
              .accessibleName = "Inductance unit",
              .box = {3480, 240, 735, 315},
              .tabIndex = 8},
    FormField{.name = "Turns",
              .text = &CoilFields::Turns,
              .kind = FieldKind::SingleLine,
              .label = {"Label6", "Turns", {4440, 360, 615, 255}, 10},
              .box = {5280, 360, 735, 285},
              .tabIndex = 12},
    FormField{.name = "Length",
              .text = &CoilFields::Length,
              .kind = FieldKind::SingleLine,
              .label = {"Label7", "Length", {4560, 720, 615, 255}, 11},
              .box = {5280, 720, 735, 285},
              .tabIndex = 13},
    FormField{.name = "IndRes",
              .text = &CoilFields::IndRes,
              .kind = FieldKind::SingleLine,
              .accessibleName = "Inductance result",
              .box = {4560, 1680, 1575, 435},
              .tabIndex = 14},
};

// The field of that name, or nullptr.
const FormField* FindField(std::string_view name);

// The field's text as a box shows it.
std::string ShownText(const CoilFields& fields, const FormField& field);

// A box's text into the model. The unit list selects the item its text
// equals, or none.
void TakeShownText(CoilFields& fields, const FormField& field, std::string_view shown);

// The item the unit list selects (-1 for none); nothing for every other field.
std::optional<int> ListIndexOf(const CoilFields& fields, const FormField& field);

// Whether both models give the field's box the same text (and item).
bool ShowsTheSame(const CoilFields& a, const CoilFields& b, const FormField& field);

// The field's text (and item) from one model into the other.
void CopyField(CoilFields& to, const CoilFields& from, const FormField& field);

} // namespace tolvex
