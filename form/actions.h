#pragma once

#include "coil_fields.h"

#include <array>
#include <cstdint>
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

// Which action a row of kActions is, for finding it whatever its place.
enum class ActionId : std::uint8_t { GenerateValues, CalculateInductance };

// A button's action: the button, its caption (which also names the action in
// a failure's words) and the click.
struct Action {
    ActionId id;
    std::string_view button;
    std::string_view caption;
    void (*click)(CoilFields&);
};

// Every button that runs an action; the window's description hands them to both faces.
inline constexpr std::array kActions{
    Action{.id = ActionId::GenerateValues,
           .button = "GO",
           .caption = "Generate Values",
           .click = GO_Click},
    Action{.id = ActionId::CalculateInductance,
           .button = "CalcInd",
           .caption = "Calculate Inductance",
           .click = CalcInd_Click},
};

// The action of that id, found by it rather than by a place in the array; an
// id that no row has does not compile. (Not by its click: with UBSan's null
// checks GCC cannot compare two functions' addresses in a constant expression.)
consteval const Action& ActionOf(ActionId id) {
    for (const Action& action : kActions)
        if (action.id == id) return action;
    throw std::logic_error("no row of kActions has that id");
}
inline constexpr const Action& kGenerateValues = ActionOf(ActionId::GenerateValues);
inline constexpr const Action& kCalculateInductance = ActionOf(ActionId::CalculateInductance);

// The action of that button, or nullptr.
inline const Action* FindAction(std::string_view button) {
    for (const Action& action : kActions)
        if (action.button == button) return &action;
    return nullptr;
}

} // namespace tolvex
