#include "page_form.h"

#include <cstddef>

namespace tolvex::web {

namespace {

std::size_t PlaceOf(const FormField& field) {
    return static_cast<std::size_t>(&field - kFormFields.data());
}

// The page's boxes for one call: the texts it sent, the texts to send back.
class CallBoxes final : public FieldBoxes {
  public:
    explicit CallBoxes(const BoxTexts& edited) : edited_(edited) {
        update_.texts.resize(kFormFields.size());
    }
    std::optional<std::string> EditedText(const FormField& field) override {
        const std::size_t place = PlaceOf(field);
        return place < edited_.size() ? edited_[place] : std::nullopt;
    }
    void ShowText(const FormField& field, std::string_view text, int /*listIndex*/) override {
        update_.texts[PlaceOf(field)] = std::string(text);
    }
    PageUpdate Done(const ActionRunner& runner) {
        update_.unitIndex = runner.Fields().IndUnits.ListIndex();
        return std::move(update_);
    }

  private:
    const BoxTexts& edited_;
    PageUpdate update_;
};

} // namespace

PageUpdate PageForm::StartUp() {
    const BoxTexts none;
    CallBoxes boxes(none);
    runner_.Load(boxes);
    return boxes.Done(runner_);
}

PageUpdate PageForm::Click(std::string_view button, const BoxTexts& edited) {
    CallBoxes boxes(edited);
    const Action* action = FindAction(button);
    if (action == nullptr) return boxes.Done(runner_);
    std::optional<ActionStop> stop = runner_.Run(*action, boxes);
    PageUpdate update = boxes.Done(runner_);
    if (stop) update.failure = std::move(stop->words);
    return update;
}

} // namespace tolvex::web
