#include "description_json.h"
#include "page_layout.h"

#include "form/field_table.h"
#include "form/unit_selector.h"
#include "window/caption_font.h"

#include <stdexcept>
#include <string>
#include <string_view>

namespace tolvex::web {

namespace {

// How the page names the kinds. Each is a switch the compiler checks for
// every enumerator, so that a new kind cannot reach the page as an old one;
// a value outside the enumeration throws.
std::string_view KindName(ControlKind kind) {
    switch (kind) {
    case ControlKind::TextBox:
        return "textBox";
    case ControlKind::MultiLineTextBox:
        return "multiLineTextBox";
    case ControlKind::PushButton:
        return "pushButton";
    case ControlKind::Label:
        return "label";
    case ControlKind::UnitList:
        return "unitList";
    case ControlKind::Line:
        return "line";
    }
    throw std::invalid_argument("a control kind the page has no name for");
}

std::string_view AlignmentName(TextAlignment alignment) {
    switch (alignment) {
    case TextAlignment::Left:
        return "left";
    case TextAlignment::Right:
        return "right";
    }
    throw std::invalid_argument("an alignment the page has no name for");
}

std::string_view RoleName(ControlRole role) {
    switch (role) {
    case ControlRole::Plain:
        return "plain";
    case ControlRole::Equation:
        return "equation";
    }
    throw std::invalid_argument("a role the page has no name for");
}

std::string_view FieldKindName(FieldKind kind) {
    switch (kind) {
    case FieldKind::SingleLine:
        return "singleLine";
    case FieldKind::MultiLine:
        return "multiLine";
    case FieldKind::UnitList:
        return "unitList";
    }
    throw std::invalid_argument("a field kind the page has no name for");
}

// The page starts from the font size of a 96-dpi desktop's system font.
constexpr double kPageFontPoints = 10.0;

std::string Text(std::string_view text) {
    return std::string(text);
}

nlohmann::json ControlJson(const ControlDescription& control) {
    nlohmann::json color = nullptr;
    if (control.color) color = {control.color->red, control.color->green, control.color->blue};
    return {
        {"name", Text(control.name)},
        {"kind", Text(KindName(control.kind))},
        {"text", Text(control.text)},
        {"left", control.box.left},
        {"top", control.box.top},
        {"width", control.box.width},
        {"height", control.box.height},
        {"tabIndex", control.tabIndex},
        {"alignment", Text(AlignmentName(control.alignment))},
        {"color", color},
        {"labelFor", Text(control.labelFor)},
        {"accessibleName", Text(control.accessibleName)},
        {"role", Text(RoleName(control.role))},
    };
}

} // namespace

nlohmann::json DescriptionJson(const WindowDescription& window) {
    nlohmann::json json{
        {"name", Text(window.name)},
        {"caption", Text(window.caption)},
        {"clientWidth", window.clientWidth},
        {"clientHeight", window.clientHeight},
        {"twipsPerPixel", kTwipsPerPixel},
        {"captionFontPoints", CaptionFontSizes(kPageFontPoints, kPointSteps)},
        {"paintedCaptionPoints", kPaintedCaptionPoints},
        {"readablePixels", kReadablePixels},
        {"frameBorderPixels", kFrameBorderPixels},
        {"largestScale", kLargestScale},
        {"units", nlohmann::json::array()},
        {"fields", nlohmann::json::array()},
        {"actions", nlohmann::json::array()},
        {"defaultButton", Text(window.defaultButton)},
        {"focusOrder", nlohmann::json::array()},
        {"controls", nlohmann::json::array()},
    };
    for (std::string_view unit : UnitSelector::kItems) json["units"].push_back(Text(unit));
    for (const FormField& field : kFormFields)
        json["fields"].push_back(
            {{"name", Text(field.name)}, {"kind", Text(FieldKindName(field.kind))}});
    for (const Action& action : window.actions)
        json["actions"].push_back(
            {{"button", Text(action.button)}, {"caption", Text(action.caption)}});
    for (std::string_view name : FocusOrder(window)) json["focusOrder"].push_back(Text(name));
    for (const ControlDescription& control : window.controls)
        json["controls"].push_back(ControlJson(control));
    return json;
}

} // namespace tolvex::web
