#pragma once

#include "window/window_description.h"

#include <nlohmann/json.hpp>

namespace tolvex::web {

// The window's description as the page receives it, so that the page lays
// itself out from the same table as the desktop window:
// {"name", "caption", "clientWidth", "clientHeight", "twipsPerPixel",
//  "captionFontPoints": [sizes to try, largest first],
//  "units": [...], "fields": [{"name", "kind"}] in the form's order,
//  "actions": [{"button", "caption"}], "defaultButton", "focusOrder": [...],
//  "controls": [{"name", "kind", "text", "left", "top", "width", "height",
//  "tabIndex", "alignment", "color": [r, g, b] or null, "labelFor",
//  "accessibleName", "role": "plain" or "equation"}]}; lengths in twips.
nlohmann::json DescriptionJson(const WindowDescription& window);

} // namespace tolvex::web
