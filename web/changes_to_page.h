#pragma once

#include "form/action_runner.h"

#include <nlohmann/json.hpp>

#include <string>
#include <string_view>
#include <vector>

namespace tolvex::web {

// What a click (or the start-up) shows, as the page reads it:
// {changes: [{field, text, listIndex (the unit list's only)}, ...], failure}.
// The module answers every click with it, and the build records the
// start-up's in the page with it, so that both are written alike.
nlohmann::json ChangesToPage(const std::vector<FieldChange>& changes, std::string_view failure);

// The same as the module hands it to the page: JSON text. Bytes that are not
// UTF-8 (a lone surrogate the page sent) show as U+FFFD, as the browser's
// own decoding shows them.
std::string ChangesText(const std::vector<FieldChange>& changes, std::string_view failure);

} // namespace tolvex::web
