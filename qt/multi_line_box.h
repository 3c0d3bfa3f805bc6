#pragma once

#include <QPlainTextEdit>

#include <optional>

namespace tolvex {

// The multi-line text box. A text the form fills in is laid out as Qt lays
// it out; the blocks a person edits keep their shaped glyphs. It knows
// whether a person changed it since, so that a long table nobody touched is
// not read back on every click: that costs a copy of the whole table.
class MultiLineBox : public QPlainTextEdit {
    Q_OBJECT
  public:
    explicit MultiLineBox(QWidget* parent);

    // A text from the form, not a person's edit.
    void Fill(const QString& text);
    // The text, when a person changed it since the form last filled or took
    // it; nothing otherwise.
    std::optional<QString> TakeEdit();

  private:
    void KeepLayoutsOfEditedBlocks(int from, int added);

    bool filling_ = false;
    bool edited_ = true;
};

} // namespace tolvex
