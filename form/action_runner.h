#pragma once

#include "actions.h"
#include "coil_fields.h"
#include "field_table.h"
#include "numtext/arithmetic_failure.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tolvex {

// Why an action ended before its last step, and the words a person is told.
struct ActionStop {
    std::string_view action; // the caption
    ArithmeticFailure failure;
    std::string words;
};

// A box's text as a face reads it: UTF-8, a line feed alone between lines.
struct FieldText {
    const FormField* field;
    std::string text;
};

// A box's text under its field's name, as a face that knows its boxes by
// name sends it.
struct NamedText {
    std::string name;
    std::string text;
};

// Each text with its field, so that no order of a face's or of the table's
// can put a text into another field. A name that is no field's throws
// std::invalid_argument: the face and the form disagree.
std::vector<FieldText> TextsOfFields(std::vector<NamedText> texts);

// A text a box is to show anew, in the same form.
struct FieldChange {
    const FormField* field;
    std::string text;
    std::optional<int> listIndex; // the unit list's item (-1 for none); nothing for other fields
};

// What one click changed, and its failure, if any.
struct ClickResult {
    std::vector<FieldChange> changes;
    std::optional<ActionStop> stop;
};

// The field model of one window and what its boxes show. A face hands in
// the boxes' texts and shows the changes that come back; it keeps nothing of
// its own about either.
class ActionRunner {
  public:
    // Start-up: the initial texts and Form_Load; every field is a change.
    std::vector<FieldChange> Start();
    // One click: the texts in the boxes (any subset of the fields) into the
    // model, the action to its end or its failure, and every field whose box
    // then shows something else, also after a failure.
    ClickResult Click(const Action& action, std::span<const FieldText> texts);

    const CoilFields& Fields() const { return fields_; }

  private:
    void TakeTexts(std::span<const FieldText> texts);
    std::vector<FieldChange> Changes();

    CoilFields fields_;
    CoilFields shown_; // what the boxes show, as the model keeps it
};

} // namespace tolvex
