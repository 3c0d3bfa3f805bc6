#pragma once

#include <QPushButton>

namespace tolvex {

// A push button whose caption wraps at word boundaries inside its box, as the
// narrow "Calculate Inductance" button needs; text() stays the exact caption.
class WrappingButton : public QPushButton {
    Q_OBJECT
  public:
    WrappingButton(const QString& caption, QWidget* parent);

    // Where the caption is drawn inside the button's frame.
    QRect TextArea() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace tolvex
