#include "description_json.h"

#include "window/unit_selector.h"

#include <array>
#include <charconv>

namespace tolvex::web {

namespace {

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
    return "label";
}

std::string Whole(int n) {
    std::array<char, 16> digits{};
    auto end = std::to_chars(digits.data(), digits.data() + digits.size(), n).ptr;
    return {digits.data(), end};
}

// Joins "key": value pairs into one object.
class JsonObject {
  public:
    JsonObject& Add(std::string_view key, std::string_view rawValue) {
        text_ += text_.empty() ? "{" : ",";
        text_ += JsonString(key);
        text_ += ':';
        text_ += rawValue;
        return *this;
    }
    JsonObject& Text(std::string_view key, std::string_view value) {
        return Add(key, JsonString(value));
    }
    JsonObject& Number(std::string_view key, int value) { return Add(key, Whole(value)); }
    std::string Done() const { return text_.empty() ? "{}" : text_ + "}"; }

  private:
    std::string text_;
};

template <typename Range, typename Item> std::string JsonArray(const Range& items, Item item) {
    std::string text = "[";
    for (const auto& each : items) {
        if (text.size() > 1) text += ',';
        text += item(each);
    }
    return text + "]";
}

std::string ColorJson(const std::optional<Rgb>& color) {
    if (!color) return "null";
    return "[" + Whole(color->red) + "," + Whole(color->green) + "," + Whole(color->blue) + "]";
}

std::string ControlJson(const ControlDescription& control) {
    return JsonObject()
        .Text("name", control.name)
        .Text("kind", KindName(control.kind))
        .Text("text", control.text)
        .Number("left", control.box.left)
        .Number("top", control.box.top)
        .Number("width", control.box.width)
        .Number("height", control.box.height)
        .Number("tabIndex", control.tabIndex)
        .Text("alignment", control.alignment == TextAlignment::Right ? "right" : "left")
        .Add("color", ColorJson(control.color))
        .Text("labelFor", FieldNamedBy(control.name))
        .Text("accessibleName", AccessibleName(control.name))
        .Done();
}

} // namespace

std::string JsonString(std::string_view text) {
    constexpr std::string_view kHex = "0123456789abcdef";
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            out += "\\u00";
            out += kHex[byte >> 4];
            out += kHex[byte & 0xF];
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string DescriptionJson(const WindowDescription& window) {
    const auto quoted = [](std::string_view s) { return JsonString(s); };
    return JsonObject()
        .Text("name", window.name)
        .Text("caption", window.caption)
        .Number("clientWidth", window.clientWidth)
        .Number("clientHeight", window.clientHeight)
        .Add("units", JsonArray(UnitSelector::kItems, quoted))
        .Add("focusOrder", JsonArray(FocusOrder(window), quoted))
        .Add("controls", JsonArray(window.controls, ControlJson))
        .Done();
}

} // namespace tolvex::web
