#pragma once

#include "window/window_description.h"

#include <string>

namespace tolvex::web {

// The window's description as one JSON object, so that the page lays itself
// out from the same table as the desktop window:
// {"name", "caption", "clientWidth", "clientHeight", "units": [...],
//  "focusOrder": [...], "controls": [{"name", "kind", "text", "left", "top",
//  "width", "height", "tabIndex", "alignment", "color": [r, g, b] or null,
//  "labelFor", "accessibleName"}]}; lengths in twips.
std::string DescriptionJson(const WindowDescription& window);

// A JSON string literal for any text, quotes included.
std::string JsonString(std::string_view text);

} // namespace tolvex::web
