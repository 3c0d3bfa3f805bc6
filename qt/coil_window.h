#pragma once

#include "control_table.h"
#include "form/action_runner.h"
#include "window/window_description.h"

#include <QWidget>

#include <array>
#include <functional>
#include <optional>
#include <span>
#include <variant>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;

namespace tolvex {

class MultiLineBox;
class WrappingButton;

// The one window, built from the window's description. Its boxes are the
// faces of the form's fields: a click hands their texts to the action runner
// and shows the changes it gives back, also when the action stopped with an
// arithmetic failure.
class CoilWindow : public QWidget {
    Q_OBJECT
  public:
    // Told which action stopped, why, and in which words.
    using FailureReporter = std::function<void(const ActionStop& stop)>;

    explicit CoilWindow(QWidget* parent = nullptr);

    void SetFailureReporter(FailureReporter reporter) { reporter_ = std::move(reporter); }
    const CoilFields& Fields() const { return runner_.Fields(); }

  private:
    // A field's box, of the type its kind shows it in.
    using FieldBox = std::variant<QLineEdit*, QComboBox*, MultiLineBox*>;

    void BuildControls(const WindowDescription& window);
    void ConnectButtons(const WindowDescription& window);
    void HoldFieldBoxes();
    void SetTabOrder(const WindowDescription& window);
    FieldBox& BoxOf(const FormField& field);
    void FitFont();
    bool CaptionsFit(const QFont& font) const;
    void RunAction(const Action& action);

    std::optional<QString> TextOf(const FormField& field);
    std::vector<FieldText> Texts();
    void Show(std::span<const FieldChange> changes);
    static void ShowUnit(QComboBox* list, const FieldChange& change);

    ActionRunner runner_;
    FailureReporter reporter_;
    ControlTable controls_;
    std::array<FieldBox, kFormFields.size()> boxes_{}; // in the field table's order
    QList<QLabel*> labels_;
    QList<WrappingButton*> buttons_;
};

} // namespace tolvex
