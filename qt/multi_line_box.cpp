#include "multi_line_box.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace tolvex {

MultiLineBox::MultiLineBox(QWidget* parent) : QPlainTextEdit(parent) {
    connect(document(), &QTextDocument::contentsChange, this, [this](int from, int, int added) {
        if (!filling_) KeepLayoutsOfEditedBlocks(from, added);
    });
    connect(document(), &QTextDocument::contentsChanged, this, [this] { edited_ = !filling_; });
}

void MultiLineBox::Fill(const QString& text) {
    filling_ = true;
    setPlainText(text);
    filling_ = false;
    edited_ = false;
}

std::optional<QString> MultiLineBox::TakeEdit() {
    if (!edited_) return std::nullopt;
    edited_ = false;
    return toPlainText();
}

void MultiLineBox::KeepLayoutsOfEditedBlocks(int from, int added) {
    // Qt drops a block's shaped glyphs once it is laid out and shapes the
    // whole block again to paint it; in a pasted megabyte without a break that
    // doubled every keystroke. The blocks a person edits keep them (some tens of
    // bytes a character); a table the form fills in does not, which would cost
    // hundreds of megabytes for a long one.
    for (QTextBlock block = document()->findBlock(from);
         block.isValid() && block.position() <= from + added; block = block.next())
        block.layout()->setCacheEnabled(true);
}

} // namespace tolvex
