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

#include <algorithm>
#include <limits>
#include <optional>

namespace tolvex {

namespace {

QString ToDisplay(const std::string& text) {
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

QLineEdit* MakeTextBox(QWidget* parent, const char* name, QRect place) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(place);
    box->setMaxLength(std::numeric_limits<int>::max()); // no field is limited in length
    return box;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& caption, QRect place,
                  Qt::Alignment alignment) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(place);
    label->setAlignment(alignment | Qt::AlignTop);
    label->setWordWrap(true); // captions wrap inside their boxes, never spill out
    return label;
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
    setObjectName(QStringLiteral("Tolvex"));
    setWindowTitle(QStringLiteral("Coil Design   Orvik"));
    setFixedSize(TwipsToPixels(6285), TwipsToPixels(5685));
    BuildControls();
    SetTabOrder();
    FitFont();
    reporter_ = [this](const QString& action, const ArithmeticFailure& failure) {
        QMessageBox::warning(this, windowTitle(), FailureMessage(action, failure));
    };
    Form_Load(fields_); // the model holds the initial texts; start-up runs before the first show
    ShowFields();
    formDia_->setFocus();
}

void CoilWindow::BuildControls() {
    const auto right = Qt::AlignRight;
    formDia_ = MakeTextBox(this, "FormDia", TwipsRect(1800, 720, 1575, 285));
    wireDia_ = MakeTextBox(this, "WireDia", TwipsRect(1800, 1200, 1575, 285));
    ind_ = MakeTextBox(this, "Ind", TwipsRect(1800, 240, 1575, 285));

    go_ = new WrappingButton(QStringLiteral("Generate Values"), this);
    go_->setObjectName(QStringLiteral("GO"));
    go_->setGeometry(TwipsRect(2160, 1560, 1095, 615));

    results_ = new QPlainTextEdit(this);
    results_->setObjectName(QStringLiteral("Results"));
    results_->setGeometry(TwipsRect(120, 2280, 6135, 3375));
    results_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    results_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    results_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    results_->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    results_->setTabChangesFocus(true); // keyboard users can leave the table with Tab
    results_->setAccessibleName(QStringLiteral("Design table"));

    auto* label1 = MakeLabel(this, "Label1", QStringLiteral("Inductance"),
                             TwipsRect(600, 240, 1095, 255), right);
    auto* label2 = MakeLabel(this, "Label2", QStringLiteral("Former Diameter (mm)"),
                             TwipsRect(120, 720, 1575, 255), right);
    auto* label3 = MakeLabel(this, "Label3", QStringLiteral("Wire Diameter  mm"),
                             TwipsRect(240, 1200, 1455, 375), right);

    indUnits_ = new QComboBox(this);
    indUnits_->setObjectName(QStringLiteral("IndUnits"));
    indUnits_->setGeometry(TwipsRect(3480, 240, 735, 315));
    indUnits_->setEditable(true);
    indUnits_->setInsertPolicy(QComboBox::NoInsert);
    indUnits_->setCompleter(nullptr); // a typed unit is taken exactly as typed
    indUnits_->lineEdit()->setMaxLength(std::numeric_limits<int>::max());
    for (auto item : UnitSelector::kItems)
        indUnits_->addItem(QString::fromLatin1(item.data(), static_cast<qsizetype>(item.size())));
    indUnits_->setAccessibleName(QStringLiteral("Inductance unit"));

    auto* label4 = MakeLabel(this, "Label4",
                             QStringLiteral("Vessor's equation                   L (nH) =     "
                                            "(N.D)^2 / (0.46.D + 1.02.len)"),
                             TwipsRect(120, 1560, 2055, 615), Qt::AlignLeft);
    QPalette green = label4->palette();
    green.setColor(QPalette::WindowText, QColor(0, 128, 0));
    label4->setPalette(green);

    auto* label6 =
        MakeLabel(this, "Label6", QStringLiteral("Turns"), TwipsRect(4440, 360, 615, 255), right);
    auto* label7 =
        MakeLabel(this, "Label7", QStringLiteral("Length"), TwipsRect(4560, 720, 615, 255), right);
    turns_ = MakeTextBox(this, "Turns", TwipsRect(5280, 360, 735, 285));
    length_ = MakeTextBox(this, "Length", TwipsRect(5280, 720, 735, 285));
    indRes_ = MakeTextBox(this, "IndRes", TwipsRect(4560, 1680, 1575, 435));
    indRes_->setAccessibleName(QStringLiteral("Inductance result"));

    calcInd_ = new WrappingButton(QStringLiteral("Calculate Inductance"), this);
    calcInd_->setObjectName(QStringLiteral("CalcInd"));
    calcInd_->setGeometry(TwipsRect(4920, 1080, 975, 495));

    auto* label5 = MakeLabel(this, "Label5", QStringLiteral("Back calculate"),
                             TwipsRect(4680, 120, 1215, 255), right);

    auto* line1 = new QFrame(this);
    line1->setObjectName(QStringLiteral("Line1"));
    line1->setFrameShape(QFrame::VLine);
    line1->setFrameShadow(QFrame::Plain);
    line1->setLineWidth(1);
    line1->setGeometry(TwipsToPixels(4440), 0, 1, TwipsToPixels(2280));

    label1->setBuddy(ind_);
    label2->setBuddy(formDia_);
    label3->setBuddy(wireDia_);
    label6->setBuddy(turns_);
    label7->setBuddy(length_);
    labels_ = {label1, label2, label3, label4, label5, label6, label7};

    connect(go_, &QPushButton::clicked, this,
            [this] { RunAction(QStringLiteral("Generate Values"), GO_Click); });
    connect(calcInd_, &QPushButton::clicked, this,
            [this] { RunAction(QStringLiteral("Calculate Inductance"), CalcInd_Click); });
    // Calculate Inductance is the window's default button: Enter in a
    // single-line field presses it.
    for (QLineEdit* box :
         {formDia_, wireDia_, ind_, turns_, length_, indRes_, indUnits_->lineEdit()})
        connect(box, &QLineEdit::returnPressed, calcInd_, &QPushButton::click);
}

void CoilWindow::SetTabOrder() {
    QWidget* order[] = {formDia_,  wireDia_, ind_,    go_,     results_,
                        indUnits_, turns_,   length_, indRes_, calcInd_};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);
    for (QLabel* label : labels_) label->setFocusPolicy(Qt::NoFocus);
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
    if (results_->toPlainText() != ResultsToDisplay(shown_.Results))
        fields_.Results = ResultsFromDisplay(results_->toPlainText());
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
    const QString results = ResultsToDisplay(fields_.Results);
    if (results_->toPlainText() != results) results_->setPlainText(results);
    const int index = fields_.IndUnits.ListIndex();
    if (index >= 0) {
        indUnits_->setCurrentIndex(index);
    } else {
        indUnits_->setCurrentIndex(-1);
        indUnits_->setEditText(ToDisplay(fields_.IndUnits.Text()));
    }
    shown_ = fields_;
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
