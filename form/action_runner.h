#pragma once

#include "actions.h"
#include "coil_fields.h"
#include "field_table.h"
#include "numtext/arithmetic_failure.h"

#include <optional>
#include <string>
#include <string_view>

namespace tolvex {

// Why an action ended before its last step, and the words a person is told.
struct ActionStop {
    std::string_view action; // the caption
    ArithmeticFailure failure;
    std::string words;
};

// A face's boxes, one for each field of the table, as the runner reads and
// fills them. Texts are UTF-8 as a box shows them.
class FieldBoxes {
  public:
    virtual ~FieldBoxes() = default;
    // The box's text, or nothing when the face knows it still shows what
    // ShowText gave it last.
    virtual std::optional<std::string> EditedText(const FormField& field) = 0;
    // A new text for the box; for the unit list, listIndex is the item it
    // selects (-1 for none), for the others -1.
    virtual void ShowText(const FormField& field, std::string_view text, int listIndex) = 0;
};

// Owns the field model of one window. Each click copies what a person
// changed into the model, runs the action to its end or its failure, and
// shows every field the action changed, also when it failed.
class ActionRunner {
  public:
    // Start-up: the initial texts, Form_Load, and every box shown.
    void Load(FieldBoxes& boxes);
    // One click; the failure, or nothing when the action ran to its end.
    std::optional<ActionStop> Run(const Action& action, FieldBoxes& boxes);

    const CoilFields& Fields() const { return fields_; }

  private:
    void TakeEdits(FieldBoxes& boxes);
    void ShowChanges(FieldBoxes& boxes);

    CoilFields fields_;
    CoilFields shown_; // what the boxes show, as the model keeps it
};

} // namespace tolvex
