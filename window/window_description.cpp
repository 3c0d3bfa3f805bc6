#include "window_description.h"

#include <algorithm>
#include <array>

namespace tolvex {

namespace {

using enum ControlKind;
constexpr TextAlignment kLeft = TextAlignment::Left;
constexpr TextAlignment kRight = TextAlignment::Right;
constexpr Rgb kDarkGreen{.red = 0, .green = 128, .blue = 0};

constexpr std::string_view kEquation =
    "Vessor's equation                   L (nH) =     (N.D)^2 / (0.46.D + 1.02.len)";

// The controls that are not fields or their captions.
constexpr std::array kOtherControls{
    ControlDescription{.name = kGenerateValues.button,
                       .kind = PushButton,
                       .text = kGenerateValues.caption,
                       .box = {.left = 2160, .top = 1560, .width = 1095, .height = 615},
                       .tabIndex = 3,
                       .alignment = kLeft,
                       .color = std::nullopt},
    ControlDescription{.name = "Label4",
                       .kind = Label,
                       .text = kEquation,
                       .box = {.left = 120, .top = 1560, .width = 2055, .height = 615},
                       .tabIndex = 9,
                       .alignment = kLeft,
                       .color = kDarkGreen,
                       .role = ControlRole::Equation},
    ControlDescription{.name = kCalculateInductance.button,
                       .kind = PushButton,
                       .text = kCalculateInductance.caption,
                       .box = {.left = 4920, .top = 1080, .width = 975, .height = 495},
                       .tabIndex = 15,
                       .alignment = kLeft,
                       .color = std::nullopt},
    ControlDescription{.name = "Label5",
                       .kind = Label,
                       .text = "Back calculate",
                       .box = {.left = 4680, .top = 120, .width = 1215, .height = 255},
                       .tabIndex = 16,
                       .alignment = kRight,
                       .color = std::nullopt},
    ControlDescription{.name = "Line1",
                       .kind = Line,
                       .text = "",
                       .box = {.left = 4440, .top = 0, .width = 0, .height = 2280},
                       .tabIndex = -1,
                       .alignment = kLeft,
                       .color = std::nullopt},
};

constexpr ControlKind KindOf(FieldKind kind) {
    switch (kind) {
    case FieldKind::MultiLine:
        return MultiLineTextBox;
    case FieldKind::UnitList:
        return UnitList;
    case FieldKind::SingleLine:
        break;
    }
    return TextBox;
}

constexpr std::size_t CountLabels() {
    std::size_t count = 0;
    for (const FormField& field : kFormFields) count += field.label.name.empty() ? 0 : 1;
    return count;
}

// Every control at its tab index, the line (which takes none) last. The tab
// indexes are dense, so each control has a place of its own.
constexpr auto kControls = [] {
    std::array<ControlDescription, kFormFields.size() + CountLabels() + kOtherControls.size()>
        controls{};
    auto put = [&controls](const ControlDescription& control) {
        const bool last = control.tabIndex < 0;
        controls.at(last ? controls.size() - 1 : static_cast<std::size_t>(control.tabIndex)) =
            control;
    };
    for (const FormField& field : kFormFields) {
        put({.name = field.name,
             .kind = KindOf(field.kind),
             .text = field.initialText,
             .box = field.box,
             .tabIndex = field.tabIndex,
             .alignment = kLeft,
             .color = std::nullopt,
             .accessibleName = field.accessibleName});
        const FieldLabel& label = field.label;
        if (!label.name.empty())
            put({.name = label.name,
                 .kind = Label,
                 .text = label.caption,
                 .box = label.box,
                 .tabIndex = label.tabIndex,
                 .alignment = kRight,
                 .color = std::nullopt,
                 .labelFor = field.name});
    }
    for (const ControlDescription& control : kOtherControls) put(control);
    return controls;
}();

constexpr bool EveryPlaceTaken() {
    for (const ControlDescription& control : kControls)
        if (control.name.empty()) return false;
    return true;
}
static_assert(EveryPlaceTaken(), "a tab index is taken twice or skipped");

constexpr bool EveryActionHasItsButton() {
    for (const Action& action : kActions)
        if (std::none_of(kControls.begin(), kControls.end(),
                         [&action](const ControlDescription& control) {
                             return control.kind == PushButton && control.name == action.button &&
                                    control.text == action.caption;
                         }))
            return false;
    return true;
}
static_assert(EveryActionHasItsButton(), "an action's button is missing or captioned otherwise");

constexpr WindowDescription kWindow{.name = "Tolvex",
                                    .caption = "Coil Design   Orvik",
                                    .clientWidth = 6285,
                                    .clientHeight = 5685,
                                    .controls = kControls,
                                    .actions = kActions,
                                    .defaultButton = kCalculateInductance.button};

bool TakesFocus(const ControlDescription& control) {
    return control.kind != Label && control.kind != Line;
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

} // namespace tolvex
