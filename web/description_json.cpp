#include "description_json.h"

#include "form/field_table.h"
#include "form/unit_selector.h"
#include "window/caption_font.h"

#include <string>

namespace tolvex {

// How the page names the kinds; ADL finds these beside the enumerations.
NLOHMANN_JSON_SERIALIZE_ENUM(ControlKind, {
                                              {ControlKind::TextBox, "textBox"},
                                              {ControlKind::MultiLineTextBox, "multiLineTextBox"},
                                              {ControlKind::PushButton, "pushButton"},
                                              {ControlKind::Label, "label"},
                                              {ControlKind::UnitList, "unitList"},
                                              {ControlKind::Line, "line"},
                                          })

NLOHMANN_JSON_SERIALIZE_ENUM(TextAlignment, {
                                                {TextAlignment::Left, "left"},
                                                {TextAlignment::Right, "right"},
                                            })

NLOHMANN_JSON_SERIALIZE_ENUM(ControlRole, {
                                              {ControlRole::Plain, "plain"},
                                              {ControlRole::Equation, "equation"},
                                          })

NLOHMANN_JSON_SERIALIZE_ENUM(FieldKind, {
                                            {FieldKind::SingleLine, "singleLine"},
                                            {FieldKind::MultiLine, "multiLine"},
                                            {FieldKind::UnitList, "unitList"},
                                        })

namespace web {

namespace {

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
        {"kind", control.kind},
        {"text", Text(control.text)},
        {"left", control.box.left},
        {"top", control.box.top},
        {"width", control.box.width},
        {"height", control.box.height},
        {"tabIndex", control.tabIndex},
        {"alignment", control.alignment},
        {"color", color},
        {"labelFor", Text(control.labelFor)},
        {"accessibleName", Text(control.accessibleName)},
        {"role", control.role},
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
        {"units", nlohmann::json::array()},
        {"fields", nlohmann::json::array()},
        {"actions", nlohmann::json::array()},
        {"defaultButton", Text(window.defaultButton)},
        {"focusOrder", nlohmann::json::array()},
        {"controls", nlohmann::json::array()},
    };
    for (std::string_view unit : UnitSelector::kItems) json["units"].push_back(Text(unit));
    for (const FormField& field : kFormFields)
        json["fields"].push_back({{"name", Text(field.name)}, {"kind", field.kind}});
    for (const Action& action : window.actions)
        json["actions"].push_back(
            {{"button", Text(action.button)}, {"caption", Text(action.caption)}});
    for (std::string_view name : FocusOrder(window)) json["focusOrder"].push_back(Text(name));
    for (const ControlDescription& control : window.controls)
        json["controls"].push_back(ControlJson(control));
    return json;
}

} // namespace web
} // namespace tolvex
