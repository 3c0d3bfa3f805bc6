#pragma once

#include "window/coil_fields.h"

#include <string>
#include <string_view>

namespace tolvex::web {

// The page's boxes and the field model, by control name. Results keeps CR LF
// in the model; a text area shows and gives back LF alone. IndUnits is the
// selector's text; setting it selects the item it equals, or none. A name
// that is no field is ignored and reads as empty.
void SetField(CoilFields& fields, std::string_view name, std::string_view text);
std::string GetField(const CoilFields& fields, std::string_view name);

// LF to CR LF and back, as the desktop window also converts.
std::string ResultsFromDisplay(std::string_view shown);
std::string ResultsToDisplay(std::string_view text);

} // namespace tolvex::web
