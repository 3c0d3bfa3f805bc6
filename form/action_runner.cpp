#include "action_runner.h"

#include "failure_message.h"

#include <stdexcept>

namespace tolvex {

std::vector<FieldText> TextsOfFields(std::vector<NamedText> texts) {
    std::vector<FieldText> edits;
    edits.reserve(texts.size());
    for (NamedText& named : texts) {
        const FormField* field = FindField(named.name);
        if (field == nullptr) throw std::invalid_argument("a text for no field: " + named.name);
        edits.push_back({field, std::move(named.text)});
    }
    return edits;
}

std::vector<FieldChange> ActionRunner::Start() {
    fields_ = CoilFields{};
    Form_Load(fields_);
    std::vector<FieldChange> changes;
    changes.reserve(kFormFields.size());
    for (const FormField& field : kFormFields)
        changes.push_back({&field, ShownText(fields_, field), ListIndexOf(fields_, field)});
    shown_ = fields_;
    return changes;
}

ClickResult ActionRunner::Click(const Action& action, std::span<const FieldText> texts) {
    TakeTexts(texts);
    ClickResult result;
    try {
        action.click(fields_);
    } catch (const ArithmeticFailure& failure) {
        result.stop = ActionStop{.action = action.caption,
                                 .failure = failure,
                                 .words = FailureMessage(action.caption, failure)};
    }
    result.changes = Changes(); // what the action wrote stays, also after a failure
    return result;
}

void ActionRunner::TakeTexts(std::span<const FieldText> texts) {
    for (const auto& [field, text] : texts) {
        TakeShownText(fields_, *field, text);
        // A box shows what a person left in it. A typed unit may select an
        // item the list does not show as selected yet, so the list is shown
        // again when typing changed its text or item.
        if (field->kind != FieldKind::UnitList) CopyField(shown_, fields_, *field);
    }
}

std::vector<FieldChange> ActionRunner::Changes() {
    std::vector<FieldChange> changes;
    for (const FormField& field : kFormFields) {
        if (ShowsTheSame(fields_, shown_, field)) continue;
        changes.push_back({&field, ShownText(fields_, field), ListIndexOf(fields_, field)});
        CopyField(shown_, fields_, field);
    }
    return changes;
}

} // namespace tolvex
