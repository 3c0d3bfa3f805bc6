#pragma once

#include "form/actions.h"
#include "form/field_table.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace tolvex {

// What the window shows and how it answers, without any toolkit: every
// binding (the Qt window, the web page) builds itself from this description.
// Its fields and their captions come from the form's field table.

enum class ControlKind : std::uint8_t {
    TextBox,
    MultiLineTextBox,
    PushButton,
    Label,
    UnitList,
    Line
};
enum class TextAlignment : std::uint8_t { Left, Right };
// What a control is beyond its kind, where a face shows it apart.
enum class ControlRole : std::uint8_t { Plain, Equation };

struct Rgb {
    int red, green, blue;
};

// The window is laid out in twips: 15 of them are one pixel at 96 dots per inch.
inline constexpr int kTwipsPerPixel = 15;

struct ControlDescription {
    std::string_view name; // "FormDia", "Label4", "Line1", ...
    ControlKind kind;
    std::string_view text;             // caption or initial text, "" when none
    Twips box;                         // the line's is its start, width 0 and its length down
    int tabIndex;                      // -1 for the line
    TextAlignment alignment;           // labels; Left for the others
    std::optional<Rgb> color;          // the text colour where it is not the platform's
    std::string_view labelFor{};       // a caption: the field it names, "" for none
    std::string_view accessibleName{}; // where no caption names the control
    ControlRole role = ControlRole::Plain;
};

struct WindowDescription {
    std::string_view name, caption;
    int clientWidth, clientHeight;                // twips
    std::span<const ControlDescription> controls; // in tab order, the line last
    std::span<const Action> actions{};            // which button runs which action
    std::string_view defaultButton{}; // Enter in a one-line box presses it; it looks the default
};

const WindowDescription& TolvexWindow();

// The focusable controls in ascending tab index (labels and the line take none).
std::vector<std::string_view> FocusOrder(const WindowDescription& window);

// The control of that name, or nullptr.
const ControlDescription* FindControl(const WindowDescription& window, std::string_view name);

} // namespace tolvex
