#pragma once

#include "numtext/arithmetic_failure.h"
#include "window/coil_fields.h"
#include "window/window_description.h"

#include <QWidget>

#include <functional>
#include <string_view>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace tolvex {

class WrappingButton;

// The one window. It owns the field model; a click copies the widgets' texts
// into the model, runs the action synchronously, and shows what the action
// wrote, also when it stopped with an arithmetic failure.
class CoilWindow : public QWidget {
    Q_OBJECT
  public:
    // Told which action stopped ("Generate Values", "Calculate Inductance") and why.
    using FailureReporter =
        std::function<void(const QString& action, const ArithmeticFailure& failure)>;

    explicit CoilWindow(QWidget* parent = nullptr);

    void SetFailureReporter(FailureReporter reporter) { reporter_ = std::move(reporter); }
    const CoilFields& Fields() const { return fields_; }

    // The words a person sees when an action stops.
    static QString FailureMessage(const QString& action, const ArithmeticFailure& failure);

  private:
    void BuildControls(const WindowDescription& window);
    void SetTabOrder(const WindowDescription& window);
    template <typename T> T* Control(std::string_view name) const;
    void FitFont();
    bool CaptionsFit(const QFont& font) const;
    void RunAction(const QString& action, void (*click)(CoilFields&));
    void CopyWidgetsToFields();
    void ShowFields();
    void ShowResults();
    void KeepLayoutsOfEditedBlocks(int from, int added);

    CoilFields fields_;
    CoilFields shown_;            // what the widgets were last given, to keep exact bytes
    bool resultsChanged_ = true;  // Results' document changed since ShowFields filled it
    bool fillingResults_ = false; // ShowFields, not a person, is changing Results
    FailureReporter reporter_;

    QLineEdit* formDia_ = nullptr;
    QLineEdit* wireDia_ = nullptr;
    QLineEdit* ind_ = nullptr;
    QPushButton* go_ = nullptr;
    QPlainTextEdit* results_ = nullptr;
    QComboBox* indUnits_ = nullptr;
    QLineEdit* turns_ = nullptr;
    QLineEdit* length_ = nullptr;
    QLineEdit* indRes_ = nullptr;
    WrappingButton* calcInd_ = nullptr;
    QList<QLabel*> labels_;
};

} // namespace tolvex
