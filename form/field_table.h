#pragma once

#include "coil_fields.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tolvex {

// How a field keeps its text: a one-line text, the multi-line table (CR LF
// inside the model, a line feed alone in a text box), or the unit list.
enum class FieldKind : std::uint8_t { SingleLine, MultiLine, UnitList };

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

// The member of the model that keeps a field's text.
using TextMember = std::string CoilFields::*;

// One field of the window: what the model keeps and what the window shows.
struct FormField {
    std::string_view name; // the control's name
    TextMember text;       // where the model keeps it; none for the unit list
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
              .label = {.name = "Label2",
                        .caption = "Former Diameter (mm)",
                        .box = {.left = 120, .top = 720, .width = 1575, .height = 255},
                        .tabIndex = 6},
              .box = {.left = 1800, .top = 720, .width = 1575, .height = 285},
              .tabIndex = 0},
    FormField{.name = "WireDia",
              .text = &CoilFields::WireDia,
              .kind = FieldKind::SingleLine,
              .initialText = "0.5",
              .label = {.name = "Label3",
                        .caption = "Wire Diameter  mm",
                        .box = {.left = 240, .top = 1200, .width = 1455, .height = 375},
                        .tabIndex = 7},
              .box = {.left = 1800, .top = 1200, .width = 1575, .height = 285},
              .tabIndex = 1},
    FormField{.name = "Ind",
              .text = &CoilFields::Ind,
              .kind = FieldKind::SingleLine,
              .initialText = "1",
              .label = {.name = "Label1",
                        .caption = "Inductance",
                        .box = {.left = 600, .top = 240, .width = 1095, .height = 255},
                        .tabIndex = 5},
              .box = {.left = 1800, .top = 240, .width = 1575, .height = 285},
              .tabIndex = 2},
    FormField{.name = "Results",
              .text = &CoilFields::Results,
              .kind = FieldKind::MultiLine,
              .accessibleName = "Design table",
              .box = {.left = 120, .top = 2280, .width = 6135, .height = 3375},
              .tabIndex = 4},
    FormField{.name = "IndUnits",
              .text = nullptr,
              .kind = FieldKind::UnitList,
              .initialText = " ", // one space until start-up selects "uH"
              .accessibleName = "Inductance unit",
              .box = {.left = 3480, .top = 240, .width = 735, .height = 315},
              .tabIndex = 8},
    FormField{.name = "Turns",
              .text = &CoilFields::Turns,
              .kind = FieldKind::SingleLine,
              .label = {.name = "Label6",
                        .caption = "Turns",
                        .box = {.left = 4440, .top = 360, .width = 615, .height = 255},
                        .tabIndex = 10},
              .box = {.left = 5280, .top = 360, .width = 735, .height = 285},
              .tabIndex = 12},
    FormField{.name = "Length",
              .text = &CoilFields::Length,
              .kind = FieldKind::SingleLine,
              .label = {.name = "Label7",
                        .caption = "Length",
                        .box = {.left = 4560, .top = 720, .width = 615, .height = 255},
                        .tabIndex = 11},
              .box = {.left = 5280, .top = 720, .width = 735, .height = 285},
              .tabIndex = 13},
    FormField{.name = "IndRes",
              .text = &CoilFields::IndRes,
              .kind = FieldKind::SingleLine,
              .accessibleName = "Inductance result",
              .box = {.left = 4560, .top = 1680, .width = 1575, .height = 435},
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
