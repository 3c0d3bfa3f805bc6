#pragma once

#include "coil_fields.h"

#include <array>
#include <stdexcept>
#include <string_view>

namespace tolvex {

// Start-up: selects "uH" before the window is first shown.
void Form_Load(CoilFields& fields);

// Inductance of the typed coil into IndRes. An arithmetic failure propagates
// as ArithmeticFailure and leaves IndRes as it was.
void CalcInd_Click(CoilFields& fields);

// The design table into Results. An arithmetic failure propagates as
// ArithmeticFailure; what was written before it stays.
void GO_Click(CoilFields& fields);

// A button's action: the button, its caption (which also names the action in
// a failure's words) and the click.
struct Action {
    std::string_view button;
    std::string_view caption;
    void (*click)(CoilFields&);
};

// Every button that runs an action; the window's description hands them to both faces.
inline constexpr std::array kActions{
    Action{.button = "GO", .caption = "Generate Values", .click = GO_Click},
    Action{.button = "CalcInd", .caption = "Calculate Inductance", .click = CalcInd_Click},
};

// The action that runs that click, found by it rather than by a place in the
// array; a click that no button runs stops the program as it starts. Not at
// compile time: with the sanitizers GCC cannot compare two functions'
// addresses in a constant expression.
constexpr const Action& ActionRunning(void (*click)(CoilFields&)) {
    for (const Action& action : kActions)
        if (action.click == click) return action;
    throw std::logic_error("no button runs that click");
}
inline const Action& kGenerateValues = ActionRunning(GO_Click);
inline const Action& kCalculateInductance = ActionRunning(CalcInd_Click);

// The action of that button, or nullptr.
inline const Action* FindAction(std::string_view button) {
    for (const Action& action : kActions)
        if (action.button == button) return &action;
    return nullptr;
}

} // namespace tolvex
