#include "coil_window.h"

#include "multi_line_box.h"
#include "twips.h"
#include "window/caption_font.h"
#include "wrapping_button.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>

#include <limits>
#include <string_view>

namespace tolvex {

namespace {

// One call for each type a field's box can be.
template <typename... Shows> struct Overloaded : Shows... {
    // Every lambda's call is one overload of the whole.
    using Shows::operator()...;
};
template <typename... Shows> Overloaded(Shows...) -> Overloaded<Shows...>;

QString ToDisplay(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string FromDisplay(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
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

MultiLineBox* MakeMultiLineTextBox(QWidget* parent) {
    auto* box = new MultiLineBox(parent);
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

void SetFontSize(QFont& font, double size, bool inPixels) {
    if (inPixels)
        font.setPixelSize(static_cast<int>(size));
    else
        font.setPointSizeF(size);
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
    reporter_ = [this](const ActionStop& stop) {
        QMessageBox::warning(this, windowTitle(), ToDisplay(stop.words));
    };
    Show(runner_.Start()); // start-up runs before the first show
    controls_.Get<QWidget>(FocusOrder(window).front())->setFocus();
}

void CoilWindow::BuildControls(const WindowDescription& window) {
    for (const ControlDescription& control : window.controls) {
        QWidget* widget = MakeControl(this, control);
        widget->setObjectName(ToDisplay(control.name));
        widget->setGeometry(ControlRect(control));
        if (!control.accessibleName.empty())
            widget->setAccessibleName(ToDisplay(control.accessibleName));
        if (auto* label = qobject_cast<QLabel*>(widget)) labels_.append(label);
        if (auto* button = qobject_cast<WrappingButton*>(widget)) buttons_.append(button);
        controls_.Add(control.name, widget);
    }
    for (const ControlDescription& control : window.controls)
        if (!control.labelFor.empty())
            controls_.Get<QLabel>(control.name)->setBuddy(controls_.Get<QWidget>(control.labelFor));
    ConnectButtons(window);
    HoldFieldBoxes();
}

void CoilWindow::ConnectButtons(const WindowDescription& window) {
    for (const Action& action : window.actions)
        connect(controls_.Get<QPushButton>(action.button), &QPushButton::clicked, this,
                [this, &action] { RunAction(action); });
    // The default button looks it, and Enter in a one-line box presses it.
    // Enter on a focused button presses that button.
    auto* byDefault = controls_.Get<QPushButton>(window.defaultButton);
    byDefault->setDefault(true);
    for (WrappingButton* button : buttons_) button->setAutoDefault(true);
    for (const ControlDescription& control : window.controls) {
        QLineEdit* box = nullptr;
        if (control.kind == ControlKind::TextBox) box = controls_.Get<QLineEdit>(control.name);
        if (control.kind == ControlKind::UnitList)
            box = controls_.Get<QComboBox>(control.name)->lineEdit();
        if (box != nullptr) connect(box, &QLineEdit::returnPressed, byDefault, &QPushButton::click);
    }
}

// Each field's box, looked up once, as the type its kind is shown in.
void CoilWindow::HoldFieldBoxes() {
    for (const FormField& field : kFormFields) {
        FieldBox& box = BoxOf(field);
        switch (field.kind) {
        case FieldKind::SingleLine:
            box = controls_.Get<QLineEdit>(field.name);
            break;
        case FieldKind::UnitList:
            box = controls_.Get<QComboBox>(field.name);
            break;
        case FieldKind::MultiLine:
            box = controls_.Get<MultiLineBox>(field.name);
            break;
        }
    }
}

CoilWindow::FieldBox& CoilWindow::BoxOf(const FormField& field) {
    return boxes_.at(static_cast<std::size_t>(&field - kFormFields.data()));
}

void CoilWindow::SetTabOrder(const WindowDescription& window) {
    QWidget* previous = nullptr;
    for (std::string_view name : FocusOrder(window)) {
        auto* next = controls_.Get<QWidget>(name);
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
    for (const WrappingButton* button : buttons_)
        if (!fits(button->TextArea(), Qt::AlignCenter, button->text())) return false;
    return true;
}

void CoilWindow::FitFont() {
    QFont font = this->font();
    const bool inPixels = font.pointSizeF() <= 0; // a pixel-sized font reads -1 points
    const double start = inPixels ? font.pixelSize() : font.pointSizeF();
    const double size =
        FittedFontSize(start, inPixels ? kPixelSteps : kPointSteps, [&](double tried) {
            SetFontSize(font, tried, inPixels);
            return CaptionsFit(font);
        });
    SetFontSize(font, size, inPixels);
    if (font != this->font()) setFont(font);
}

std::optional<QString> CoilWindow::TextOf(const FormField& field) {
    return std::visit(
        Overloaded{
            [](QLineEdit* box) -> std::optional<QString> { return box->text(); },
            [](QComboBox* list) -> std::optional<QString> { return list->currentText(); },
            // A table nobody changed since the form filled or took
            // it still shows what the form holds.
            [](MultiLineBox* table) { return table->TakeEdit(); },
        },
        BoxOf(field));
}

std::vector<FieldText> CoilWindow::Texts() {
    std::vector<FieldText> texts;
    for (const FormField& field : kFormFields)
        if (const std::optional<QString> text = TextOf(field))
            texts.push_back({&field, FromDisplay(*text)});
    return texts;
}

void CoilWindow::Show(std::span<const FieldChange> changes) {
    for (const FieldChange& change : changes)
        std::visit(Overloaded{
                       [&change](QLineEdit* box) { box->setText(ToDisplay(change.text)); },
                       [&change](QComboBox* list) { ShowUnit(list, change); },
                       [&change](MultiLineBox* table) { table->Fill(ToDisplay(change.text)); },
                   },
                   BoxOf(*change.field));
}

void CoilWindow::ShowUnit(QComboBox* list, const FieldChange& change) {
    const int item = change.listIndex.value_or(-1);
    if (item >= 0) {
        list->setCurrentIndex(item);
        return;
    }
    // Setting a megabyte unit text again lays it all out again, so only a
    // text that differs is set.
    if (list->currentIndex() != -1) list->setCurrentIndex(-1);
    const QString unit = ToDisplay(change.text);
    if (list->currentText() != unit) list->setEditText(unit);
}

void CoilWindow::RunAction(const Action& action) {
    const ClickResult result = runner_.Click(action, Texts());
    Show(result.changes);
    if (result.stop) reporter_(*result.stop);
}

} // namespace tolvex
