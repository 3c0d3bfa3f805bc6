#include "coil_window.h"

#include "twips.h"
#include "window/actions.h"
#include "window/failure_message.h"
#include "wrapping_button.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>
#include <limits>
#include <optional>
#include <string_view>

namespace tolvex {

namespace {

QString ToDisplay(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string FromDisplay(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

// The model keeps CR LF; the text box shows one line per row.
QString ResultsToDisplay(const std::string& text) {
    QString shown = ToDisplay(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return shown;
}

std::string ResultsFromDisplay(const QString& shown) {
    QString text = shown;
    text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return FromDisplay(text);
}

Qt::Alignment ToQt(TextAlignment alignment) {
    return alignment == TextAlignment::Right ? Qt::AlignRight : Qt::AlignLeft;
}

// Latin text needs no shaping rules; without them Qt skips harfbuzz, which
// was most of the time a pasted megabyte took to lay out and paint.
void DrawWithoutShaping(QWidget* box) {
    QFont font = box->font();
    font.setStyleStrategy(QFont::PreferNoShaping);
    box->setFont(font);
}

QLineEdit* MakeTextBox(QWidget* parent) {
    auto* box = new QLineEdit(parent);
    DrawWithoutShaping(box);
    box->setMaxLength(std::numeric_limits<int>::max()); // no field is limited in length
    return box;
}

QPlainTextEdit* MakeMultiLineTextBox(QWidget* parent) {
    auto* box = new QPlainTextEdit(parent);
    DrawWithoutShaping(box);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // At word boundaries only: breaking anywhere makes Qt try every character of a long
    // word as a break, which froze the window for seconds on a pasted megabyte.
    box->setWordWrapMode(QTextOption::WordWrap);
    box->setTabChangesFocus(true); // keyboard users can leave the table with Tab
    return box;
}

QLabel* MakeLabel(QWidget* parent, const ControlDescription& control) {
    auto* label = new QLabel(ToDisplay(control.text), parent);
    label->setAlignment(ToQt(control.alignment) | Qt::AlignTop);
    label->setWordWrap(true); // captions wrap inside their boxes, never spill out
    label->setFocusPolicy(Qt::NoFocus);
    if (control.color) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText,
                         QColor(control.color->red, control.color->green, control.color->blue));
        label->setPalette(palette);
    }
    return label;
}

QComboBox* MakeUnitList(QWidget* parent) {
    auto* list = new QComboBox(parent);
    list->setEditable(true);
    list->setInsertPolicy(QComboBox::NoInsert);
    list->setCompleter(nullptr); // a typed unit is taken exactly as typed
    list->lineEdit()->setMaxLength(std::numeric_limits<int>::max());
    DrawWithoutShaping(list);
    for (auto item : UnitSelector::kItems) list->addItem(ToDisplay(item));
    return list;
}

QFrame* MakeLine(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Plain);
    line->setLineWidth(1);
    return line;
}

QWidget* MakeControl(QWidget* parent, const ControlDescription& control) {
    switch (control.kind) {
    case ControlKind::TextBox:
        return MakeTextBox(parent);
    case ControlKind::MultiLineTextBox:
        return MakeMultiLineTextBox(parent);
    case ControlKind::PushButton:
        return new WrappingButton(ToDisplay(control.text), parent);
    case ControlKind::Label:
        return MakeLabel(parent, control);
    case ControlKind::UnitList:
        return MakeUnitList(parent);
    case ControlKind::Line:
        return MakeLine(parent);
    }
    return nullptr;
}

// One step smaller in the unit the font is sized in: half a point, or one
// pixel for a font sized in pixels (whose point size reads as -1). False
// once the font is as small as it may go.
bool StepFontDown(QFont& font) {
    constexpr qreal kSmallestPoints = 6.0;
    constexpr int kSmallestPixels = 8;
    if (font.pointSizeF() > 0) {
        if (font.pointSizeF() <= kSmallestPoints) return false;
        font.setPointSizeF(std::max(font.pointSizeF() - 0.5, kSmallestPoints));
        return true;
    }
    if (font.pixelSize() <= kSmallestPixels) return false;
    font.setPixelSize(font.pixelSize() - 1);
    return true;
}

} // namespace

CoilWindow::CoilWindow(QWidget* parent) : QWidget(parent) {
    const WindowDescription& window = TolvexWindow();
    setObjectName(ToDisplay(window.name));
    setWindowTitle(ToDisplay(window.caption));
    setFixedSize(TwipsToPixels(window.clientWidth), TwipsToPixels(window.clientHeight));
    BuildControls(window);
    SetTabOrder(window);
    FitFont();
    reporter_ = [this](const QString& action, const ArithmeticFailure& failure) {
        QMessageBox::warning(this, windowTitle(), FailureMessage(action, failure));
    };
    Form_Load(fields_); // the model holds the initial texts; start-up runs before the first show
    ShowFields();
    formDia_->setFocus();
}

template <typename T> T* CoilWindow::Control(std::string_view name) const {
    return findChild<T*>(ToDisplay(name), Qt::FindDirectChildrenOnly);
}

void CoilWindow::BuildControls(const WindowDescription& window) {
    for (const ControlDescription& control : window.controls) {
        QWidget* widget = MakeControl(this, control);
        widget->setObjectName(ToDisplay(control.name));
        widget->setGeometry(ControlRect(control));
        if (auto name = AccessibleName(control.name); !name.empty())
            widget->setAccessibleName(ToDisplay(name));
        if (auto* label = qobject_cast<QLabel*>(widget)) labels_.append(label);
    }
    for (const ControlDescription& control : window.controls)
        if (auto field = FieldNamedBy(control.name); !field.empty())
            Control<QLabel>(control.name)->setBuddy(Control<QWidget>(field));

    formDia_ = Control<QLineEdit>("FormDia");
    wireDia_ = Control<QLineEdit>("WireDia");
    ind_ = Control<QLineEdit>("Ind");
    go_ = Control<WrappingButton>("GO");
    results_ = Control<QPlainTextEdit>("Results");
    indUnits_ = Control<QComboBox>("IndUnits");
    turns_ = Control<QLineEdit>("Turns");
    length_ = Control<QLineEdit>("Length");
    indRes_ = Control<QLineEdit>("IndRes");
    calcInd_ = Control<WrappingButton>("CalcInd");
    connect(results_->document(), &QTextDocument::contentsChange, this,
            [this](int from, int, int added) {
                if (!fillingResults_) KeepLayoutsOfEditedBlocks(from, added);
            });
    connect(results_->document(), &QTextDocument::contentsChanged, this,
            [this] { resultsChanged_ = true; });

    // The button's caption names the action in a failure report.
    connect(go_, &QPushButton::clicked, this, [this] { RunAction(go_->text(), GO_Click); });
    connect(calcInd_, &QPushButton::clicked, this,
            [this] { RunAction(calcInd_->text(), CalcInd_Click); });
    // Calculate Inductance is the window's default button and looks it: Enter
    // in a single-line field presses it. Enter on a focused button presses
    // that button.
    calcInd_->setDefault(true);
    for (QPushButton* button :
         {static_cast<QPushButton*>(go_), static_cast<QPushButton*>(calcInd_)})
        button->setAutoDefault(true);
    for (QLineEdit* box :
         {formDia_, wireDia_, ind_, turns_, length_, indRes_, indUnits_->lineEdit()})
        connect(box, &QLineEdit::returnPressed, calcInd_, &QPushButton::click);
}

void CoilWindow::SetTabOrder(const WindowDescription& window) {
    QWidget* previous = nullptr;
    for (std::string_view name : FocusOrder(window)) {
        auto* next = Control<QWidget>(name);
        if (previous != nullptr) setTabOrder(previous, next);
        previous = next;
    }
}

bool CoilWindow::CaptionsFit(const QFont& font) const {
    const QFontMetrics metrics(font);
    auto fits = [&metrics](const QRect& box, int alignment, const QString& text) {
        return box.contains(metrics.boundingRect(box, Qt::TextWordWrap | alignment, text));
    };
    for (const QLabel* label : labels_)
        if (!fits(label->contentsRect(), static_cast<int>(label->alignment()), label->text()))
            return false;
    for (const WrappingButton* button : {static_cast<WrappingButton*>(go_), calcInd_})
        if (!fits(button->TextArea(), Qt::AlignCenter, button->text())) return false;
    return true;
}

void CoilWindow::FitFont() {
    // The boxes were sized for a small system font. Where the platform font
    // is larger, take the whole window's font down step by step until every
    // caption shows whole; controls keep their places and sizes.
    QFont font = this->font();
    while (!CaptionsFit(font) && StepFontDown(font)) {
    }
    if (font != this->font()) setFont(font);
}

QString CoilWindow::FailureMessage(const QString& action, const ArithmeticFailure& failure) {
    return QString::fromStdString(tolvex::FailureMessage(action.toStdString(), failure));
}

void CoilWindow::CopyWidgetsToFields() {
    // A text the user left alone keeps the exact bytes the model holds.
    auto take = [](QLineEdit* box, const std::string& shown, std::string& field) {
        if (box->text() != ToDisplay(shown)) field = FromDisplay(box->text());
    };
    take(formDia_, shown_.FormDia, fields_.FormDia);
    take(wireDia_, shown_.WireDia, fields_.WireDia);
    take(ind_, shown_.Ind, fields_.Ind);
    take(turns_, shown_.Turns, fields_.Turns);
    take(length_, shown_.Length, fields_.Length);
    take(indRes_, shown_.IndRes, fields_.IndRes);
    // Reading a megabyte document back costs a copy and a comparison; a box
    // nobody changed since it was filled still holds what the model holds.
    if (resultsChanged_) {
        const QString text = results_->toPlainText();
        if (text != ResultsToDisplay(shown_.Results)) fields_.Results = ResultsFromDisplay(text);
    }
    fields_.IndUnits.SetText(FromDisplay(indUnits_->currentText()));
}

void CoilWindow::ShowFields() {
    auto show = [](QLineEdit* box, const std::string& field) {
        const QString text = ToDisplay(field);
        if (box->text() != text) box->setText(text);
    };
    show(formDia_, fields_.FormDia);
    show(wireDia_, fields_.WireDia);
    show(ind_, fields_.Ind);
    show(turns_, fields_.Turns);
    show(length_, fields_.Length);
    show(indRes_, fields_.IndRes);
    ShowResults();
    const int index = fields_.IndUnits.ListIndex();
    if (index >= 0) {
        indUnits_->setCurrentIndex(index);
    } else {
        // Setting a megabyte unit text again lays it all out again, so only a
        // text that differs is set.
        if (indUnits_->currentIndex() != -1) indUnits_->setCurrentIndex(-1);
        const QString unit = ToDisplay(fields_.IndUnits.Text());
        if (indUnits_->currentText() != unit) indUnits_->setEditText(unit);
    }
    shown_ = fields_;
}

void CoilWindow::KeepLayoutsOfEditedBlocks(int from, int added) {
    // Qt drops a block's shaped glyphs once it is laid out and shapes the
    // whole block again to paint it; in a pasted megabyte without a break that
    // doubled every keystroke. The blocks a person edits keep them (some tens of
    // bytes a character); a table the window fills itself does not, which
    // would cost hundreds of megabytes for a long one.
    QTextDocument* document = results_->document();
    for (QTextBlock block = document->findBlock(from);
         block.isValid() && block.position() <= from + added; block = block.next())
        block.layout()->setCacheEnabled(true);
}

void CoilWindow::ShowResults() {
    // Unchanged since it was filled, the box shows shown_.Results, and the
    // model's bytes decide without converting the document; otherwise its text
    // is compared, so that a text typed back to the same is not laid out anew.
    const bool differs = resultsChanged_
                             ? results_->toPlainText() != ResultsToDisplay(fields_.Results)
                             : fields_.Results != shown_.Results;
    if (differs) {
        fillingResults_ = true;
        results_->setPlainText(ResultsToDisplay(fields_.Results));
        fillingResults_ = false;
    }
    resultsChanged_ = false;
}

void CoilWindow::RunAction(const QString& action, void (*click)(CoilFields&)) {
    CopyWidgetsToFields();
    std::optional<ArithmeticFailure> failure;
    try {
        click(fields_);
    } catch (const ArithmeticFailure& stopped) {
        failure = stopped;
    }
    ShowFields(); // what the action wrote stays, also after a failure
    if (failure.has_value()) reporter_(action, *failure);
}

} // namespace tolvex
