#pragma once

#include "form/action_runner.h"

#include <emscripten/val.h>

#include <string_view>
#include <vector>

namespace tolvex::web {

// What a click (or the start-up) shows, as the page reads it:
// {changes: [{field, text, listIndex (the unit list's only)}, ...], failure}.
// The module answers every click with it, and the build records the
// start-up's in the page with it, so that both are written alike.
emscripten::val ChangesToPage(const std::vector<FieldChange>& changes, std::string_view failure);

} // namespace tolvex::web
