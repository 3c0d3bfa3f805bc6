#pragma once

#include "coil_fields.h"

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

inline constexpr Action kGenerateValues{"GO", "Generate Values", GO_Click};
inline constexpr Action kCalculateInductance{"CalcInd", "Calculate Inductance", CalcInd_Click};

// The action of that button, or nullptr.
inline const Action* FindAction(std::string_view button) {
    for (const Action* action : {&kGenerateValues, &kCalculateInductance})
        if (action->button == button) return action;
    return nullptr;
}

} // namespace tolvex
