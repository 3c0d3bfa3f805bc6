#pragma once

#include "form/action_runner.h"
#include "window/window_description.h"

#include <QWidget>

#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

class QComboBox;
class QLabel;

namespace tolvex {

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
    void BuildControls(const WindowDescription& window);
    void SetTabOrder(const WindowDescription& window);
    template <typename T> T* Control(std::string_view name) const;
    void FitFont();
    bool CaptionsFit(const QFont& font) const;
    void RunAction(const Action& action);

    std::optional<QString> TextOf(const FormField& field);
    std::vector<FieldText> Texts();
    void Show(std::span<const FieldChange> changes);
    static void ShowUnit(QComboBox* list, const FieldChange& change);

    ActionRunner runner_;
    FailureReporter reporter_;
    QList<QLabel*> labels_;
};

} // namespace tolvex
