#pragma once

#include <QPlainTextEdit>

namespace tolvex {

// The multi-line text box. A text the form fills in is laid out as Qt lays
// it out; the blocks a person edits keep their shaped glyphs.
class MultiLineBox : public QPlainTextEdit {
    Q_OBJECT
  public:
    explicit MultiLineBox(QWidget* parent);

    // A text from the form, not a person's edit.
    void Fill(const QString& text);

  private:
    void KeepLayoutsOfEditedBlocks(int from, int added);

    bool filling_ = false;
};

} // namespace tolvex
