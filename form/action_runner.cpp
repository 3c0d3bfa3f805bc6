#include "action_runner.h"

#include "failure_message.h"

namespace tolvex {

void ActionRunner::Load(FieldBoxes& boxes) {
    fields_ = CoilFields{};
    Form_Load(fields_);
    for (const FormField& field : kFormFields)
        boxes.ShowText(field, ShownText(fields_, field), ListIndexOf(fields_, field));
    shown_ = fields_;
}

std::optional<ActionStop> ActionRunner::Run(const Action& action, FieldBoxes& boxes) {
    TakeEdits(boxes);
    std::optional<ActionStop> stop;
    try {
        action.click(fields_);
    } catch (const ArithmeticFailure& failure) {
        stop = ActionStop{action.caption, failure, FailureMessage(action.caption, failure)};
    }
    ShowChanges(boxes); // what the action wrote stays, also after a failure
    return stop;
}

void ActionRunner::TakeEdits(FieldBoxes& boxes) {
    for (const FormField& field : kFormFields) {
        const std::optional<std::string> text = boxes.EditedText(field);
        if (!text) continue;
        TakeShownText(fields_, field, *text);
        // A typed text box shows what the model now holds. A typed unit may
        // select an item the list does not show as selected yet, so the
        // list is shown again when typing changed its text or item.
        if (field.kind != FieldKind::UnitList) CopyField(shown_, fields_, field);
    }
}

void ActionRunner::ShowChanges(FieldBoxes& boxes) {
    for (const FormField& field : kFormFields) {
        if (ShowsTheSame(fields_, shown_, field)) continue;
        boxes.ShowText(field, ShownText(fields_, field), ListIndexOf(fields_, field));
        CopyField(shown_, fields_, field);
    }
}

} // namespace tolvex
