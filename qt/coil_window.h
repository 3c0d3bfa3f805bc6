#pragma once

#include "form/action_runner.h"
#include "window/window_description.h"

#include <QWidget>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

class QComboBox;
class QLabel;
class QPlainTextEdit;

namespace tolvex {

// The one window, built from the window's description. Its boxes are the
// faces of the form's fields: a click hands them to the action runner, which
// copies what a person changed into the model, runs the action and shows
// what it wrote, also when it stopped with an arithmetic failure.
class CoilWindow : public QWidget, private FieldBoxes {
    Q_OBJECT
  public:
    // Told which action stopped, why, and in which words.
    using FailureReporter = std::function<void(const ActionStop& stop)>;

    explicit CoilWindow(QWidget* parent = nullptr);

    void SetFailureReporter(FailureReporter reporter) { reporter_ = std::move(reporter); }
    const CoilFields& Fields() const { return runner_.Fields(); }

  private:
    void BuildControls(const WindowDescription& window);
    void SetTabOrder(const WindowDescription& window);
    template <typename T> T* Control(std::string_view name) const;
    void FitFont();
    bool CaptionsFit(const QFont& font) const;
    void RunAction(const Action& action);
    void KeepLayoutsOfEditedBlocks(int from, int added);

    // The boxes as the action runner reads and fills them.
    std::optional<std::string> EditedText(const FormField& field) override;
    void ShowText(const FormField& field, std::string_view text, int listIndex) override;
    static void ShowUnit(QComboBox* list, std::string_view text, int listIndex);

    ActionRunner runner_;
    FailureReporter reporter_;
    QPlainTextEdit* results_ = nullptr;
    bool resultsChanged_ = true;  // Results' document changed since it was last filled
    bool fillingResults_ = false; // the runner, not a person, is changing Results
    QList<QLabel*> labels_;
};

} // namespace tolvex
