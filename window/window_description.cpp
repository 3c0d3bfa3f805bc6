#include "window_description.h"

#include "form/actions.h"
#include "form/initial_texts.h"

#include <algorithm>
#include <array>
#include <utility>

namespace tolvex {

namespace {

using enum ControlKind;
constexpr TextAlignment kLeft = TextAlignment::Left;
constexpr TextAlignment kRight = TextAlignment::Right;
constexpr Rgb kDarkGreen{0, 128, 0};

constexpr std::string_view kEquation =
    "Vessor's equation                   L (nH) =     (N.D)^2 / (0.46.D + 1.02.len)";

constexpr std::array kControls{
    ControlDescription{
        "FormDia", TextBox, initial_text::kFormDia, {1800, 720, 1575, 285}, 0, kLeft, std::nullopt},
    ControlDescription{"WireDia",
                       TextBox,
                       initial_text::kWireDia,
                       {1800, 1200, 1575, 285},
                       1,
                       kLeft,
                       std::nullopt},
    ControlDescription{
        "Ind", TextBox, initial_text::kInd, {1800, 240, 1575, 285}, 2, kLeft, std::nullopt},
    ControlDescription{
        "GO", PushButton, kGenerateValues.caption, {2160, 1560, 1095, 615}, 3, kLeft, std::nullopt},
    ControlDescription{
        "Results", MultiLineTextBox, "", {120, 2280, 6135, 3375}, 4, kLeft, std::nullopt},
    ControlDescription{
        "Label1", Label, "Inductance", {600, 240, 1095, 255}, 5, kRight, std::nullopt},
    ControlDescription{
        "Label2", Label, "Former Diameter (mm)", {120, 720, 1575, 255}, 6, kRight, std::nullopt},
    ControlDescription{
        "Label3", Label, "Wire Diameter  mm", {240, 1200, 1455, 375}, 7, kRight, std::nullopt},
    ControlDescription{"IndUnits",
                       UnitList,
                       initial_text::kIndUnits,
                       {3480, 240, 735, 315},
                       8,
                       kLeft,
                       std::nullopt},
    ControlDescription{"Label4", Label, kEquation, {120, 1560, 2055, 615}, 9, kLeft, kDarkGreen},
    ControlDescription{"Label6", Label, "Turns", {4440, 360, 615, 255}, 10, kRight, std::nullopt},
    ControlDescription{"Label7", Label, "Length", {4560, 720, 615, 255}, 11, kRight, std::nullopt},
    ControlDescription{"Turns", TextBox, "", {5280, 360, 735, 285}, 12, kLeft, std::nullopt},
    ControlDescription{"Length", TextBox, "", {5280, 720, 735, 285}, 13, kLeft, std::nullopt},
    ControlDescription{"IndRes", TextBox, "", {4560, 1680, 1575, 435}, 14, kLeft, std::nullopt},
    ControlDescription{"CalcInd",
                       PushButton,
                       kCalculateInductance.caption,
                       {4920, 1080, 975, 495},
                       15,
                       kLeft,
                       std::nullopt},
    ControlDescription{
        "Label5", Label, "Back calculate", {4680, 120, 1215, 255}, 16, kRight, std::nullopt},
    ControlDescription{"Line1", Line, "", {4440, 0, 0, 2280}, -1, kLeft, std::nullopt},
};

constexpr WindowDescription kWindow{"Tolvex", "Coil Design   Orvik", 6285, 5685, kControls};

// Which field each caption names; the equation and "Back calculate" name none.
constexpr std::array<std::pair<std::string_view, std::string_view>, 5> kLabelledFields{{
    {"Label1", "Ind"},
    {"Label2", "FormDia"},
    {"Label3", "WireDia"},
    {"Label6", "Turns"},
    {"Label7", "Length"},
}};

constexpr std::array<std::pair<std::string_view, std::string_view>, 3> kAccessibleNames{{
    {"Results", "Design table"},
    {"IndUnits", "Inductance unit"},
    {"IndRes", "Inductance result"},
}};

bool TakesFocus(const ControlDescription& control) {
    return control.kind != Label && control.kind != Line;
}

std::string_view Lookup(std::span<const std::pair<std::string_view, std::string_view>> pairs,
                        std::string_view key) {
    // Plain algorithms, not std::ranges: the browser build's libc++ 13 lacks them.
    const auto found = std::find_if(pairs.begin(), pairs.end(),
                                    [key](const auto& pair) { return pair.first == key; });
    return found == pairs.end() ? std::string_view{} : found->second;
}

} // namespace

const WindowDescription& TolvexWindow() {
    return kWindow;
}

std::vector<std::string_view> FocusOrder(const WindowDescription& window) {
    std::vector<const ControlDescription*> focusable;
    for (const ControlDescription& control : window.controls)
        if (TakesFocus(control)) focusable.push_back(&control);
    std::stable_sort(focusable.begin(), focusable.end(),
                     [](const ControlDescription* a, const ControlDescription* b) {
                         return a->tabIndex < b->tabIndex;
                     });
    std::vector<std::string_view> order;
    order.reserve(focusable.size());
    for (const ControlDescription* control : focusable) order.push_back(control->name);
    return order;
}

const ControlDescription* FindControl(const WindowDescription& window, std::string_view name) {
    const auto found =
        std::find_if(window.controls.begin(), window.controls.end(),
                     [name](const ControlDescription& control) { return control.name == name; });
    return found == window.controls.end() ? nullptr : &*found;
}

std::string_view FieldNamedBy(std::string_view label) {
    return Lookup(kLabelledFields, label);
}

std::string_view AccessibleName(std::string_view control) {
    return Lookup(kAccessibleNames, control);
}

} // namespace tolvex
