#include "shell/frmFramerate.h"

#include "controls/SpinBox.h"
#include "platform/NumberFormat.h"
#include "platform/NumberParse.h"
#include "shell/modMain.h"

#include <QFocusEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

namespace {
constexpr int kValueLength = 7;
constexpr double kLowestRate = 1.0;
constexpr double kHighestRate = 1000.0;
} // namespace

frmFramerate::frmFramerate(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("Set subtitle framerate"));
    txtTime = new SpinBox(this);
    txtTime->setObjectName(QStringLiteral("txtTime"));
    txtTime->SetLabelText(tr("Subtitle framerate:"));
    txtTime->SetTextFormat(SpinBox::AnyText);
    txtTime->SetMinNumber(0);
    txtTime->SetMaxNumber(0);
    txtTime->SetMaxLength(kValueLength);
    txtTime->SetSelectOnFocus(true);
    const QFontMetrics metrics = fontMetrics();
    txtTime->setFixedWidth(metrics.horizontalAdvance(txtTime->LabelText()) + 8
                           + metrics.horizontalAdvance(QString(kValueLength + 1, u'0')) + 12);

    auto* sentence = new QHBoxLayout;
    sentence->addWidget(txtTime);
    sentence->addWidget(new QLabel(tr("frames/second"), this));
    sentence->addStretch();

    cmdOK = new QPushButton(tr("OK"), this);
    cmdCancel = new QPushButton(tr("Cancel"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);

    auto* column = new QVBoxLayout(this);
    column->setSizeConstraint(QLayout::SetFixedSize);
    column->addLayout(sentence);
    column->addSpacing(6);
    column->addLayout(buttons);

    connect(cmdOK, &QPushButton::clicked, this, &frmFramerate::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmFramerate::cmdCancel_Click);
    // Enter and Escape belong to the dialog whichever control has the focus, so every control
    // shows them to the dialog first; the box's focus loss is watched here as well.
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
    txtTime->setFocus();
}

void frmFramerate::Init(double framerate)
{
    showValueText(ShortestDecimal(std::isfinite(framerate) ? framerate : 0.0));
}

void frmFramerate::cmdOK_Click()
{
    // Too large for a double is as invalid as no number at all.
    FramerateValue = ParseLenient(txtTime->Text()).value_or(0.0);
    if (FramerateValue >= kLowestRate && FramerateValue <= kHighestRate) {
        Canceled = false;
        accept();
        return;
    }
    const QString text = tr("Please enter a valid framerate.");
    if (messageSink_)
        messageSink_(QMessageBox::Critical, text);
    else
        QMessageBox(QMessageBox::Critical, modMain::kAppTitle, text, QMessageBox::Ok, this).exec();
    txtTime->setFocus(Qt::OtherFocusReason);
}

void frmFramerate::cmdCancel_Click()
{
    reject();
}

void frmFramerate::txtTime_LostFocus()
{
    // A number too large for a double is left as typed for OK to refuse; anything else reads
    // back as the number it stands for, 0 when there is none.
    if (const std::optional<double> value = ParseLenient(txtTime->Text()))
        showValueText(ShortestDecimal(*value));
}

void frmFramerate::showValueText(const QString& text)
{
    // The limit is for typing: a longer value handed in is shown whole, never cut to another.
    if (text.size() > txtTime->MaxLength())
        txtTime->SetMaxLength(int(text.size()));
    txtTime->SetText(text);
}

bool frmFramerate::handleKey(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (cmdOK->isEnabled())
            cmdOK_Click();
        return true;
    case Qt::Key_Escape:
        if (cmdCancel->isEnabled())
            cmdCancel_Click();
        return true;
    default:
        return false;
    }
}

bool frmFramerate::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && handleKey(static_cast<QKeyEvent*>(event)))
        return true;
    if (event->type() == QEvent::FocusOut && watched == txtTime->TextBox()) {
        // Switching to another window, a menu or the message box leaves the focus in the box.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            txtTime_LostFocus();
    }
    return QDialog::eventFilter(watched, event);
}

void frmFramerate::keyPressEvent(QKeyEvent* event)
{
    if (!handleKey(event))
        QDialog::keyPressEvent(event);
}
