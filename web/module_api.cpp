// The page's door to the field model and both actions. The page owns no
// state of its own: it copies its boxes into these fields before a click,
// runs the action here, and shows what the fields hold afterwards.
#include "field_text.h"
#include "window/actions.h"
#include "window/failure_message.h"
#include "window/window_description.h"

#include <cstddef>
#include <optional>
#include <string>

namespace {

tolvex::CoilFields fields;
std::string failureMessage;
std::string scratch; // the text most recently handed to the page

// Runs one action on the fields and keeps the words of its failure, if any.
bool Run(std::string_view action, void (*click)(tolvex::CoilFields&)) {
    failureMessage.clear();
    try {
        click(fields);
        return true;
    } catch (const tolvex::ArithmeticFailure& failure) {
        failureMessage = tolvex::FailureMessage(action, failure);
        return false;
    }
}

std::string_view CaptionOf(std::string_view control) {
    const auto* description = tolvex::FindControl(tolvex::TolvexWindow(), control);
    return description != nullptr ? description->text : control;
}

} // namespace

extern "C" {

// Field texts cross as UTF-8 bytes with their length, so that a megabyte
// paste or an embedded NUL arrives whole.
// A field is named as its control is ("FormDia", "IndUnits", "Results", ...).
void tolvex_set_field(const char* name, const char* bytes, std::size_t length) {
    tolvex::web::SetField(fields, name, std::string_view(bytes, length));
}

const char* tolvex_field(const char* name) {
    scratch = tolvex::web::GetField(fields, name);
    return scratch.data();
}

std::size_t tolvex_field_length() {
    return scratch.size();
}

int tolvex_unit_index() {
    return fields.IndUnits.ListIndex();
}

void tolvex_set_unit_index(int index) {
    fields.IndUnits.SetListIndex(static_cast<tolvex::Int16>(index));
}

void tolvex_form_load() {
    fields = tolvex::CoilFields{};
    tolvex::Form_Load(fields);
}

// 1 when the action ran to its end, 0 when it stopped with a failure.
int tolvex_calc_ind_click() {
    return Run(CaptionOf("CalcInd"), tolvex::CalcInd_Click) ? 1 : 0;
}

int tolvex_go_click() {
    return Run(CaptionOf("GO"), tolvex::GO_Click) ? 1 : 0;
}

const char* tolvex_failure_message() {
    return failureMessage.c_str();
}

} // extern "C"
