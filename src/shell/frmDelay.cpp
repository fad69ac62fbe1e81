#include "shell/frmDelay.h"

#include "controls/SpinBox.h"
#include "platform/NumberParse.h"
#include "platform/Rounding.h"
#include "shell/modMain.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cstdlib>

namespace {
constexpr int kValueLength = 7;
}

frmDelay::frmDelay(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("Set subtitle delay"));
    txtTime = new SpinBox(this);
    txtTime->setObjectName(QStringLiteral("txtTime"));
    txtTime->SetLabelText(tr("Show subtitles "));
    // Digits and the decimal point: halves are typed and rounded, the sign is the combo's.
    txtTime->SetTextFormat(SpinBox::DecimalNumber);
    txtTime->SetMinNumber(0);
    txtTime->SetMaxNumber(0);
    txtTime->SetMaxLength(kValueLength);
    txtTime->SetSelectOnFocus(true);
    txtTime->SetText(QStringLiteral("0"));
    const QFontMetrics metrics = fontMetrics();
    txtTime->setFixedWidth(metrics.horizontalAdvance(txtTime->LabelText()) + 2
                           + metrics.horizontalAdvance(QString(kValueLength + 1, u'0')) + 12);

    cmbTime = new QComboBox(this);
    cmbTime->setObjectName(QStringLiteral("cmbTime"));
    cmbTime->addItems({tr("earlier"), tr("later")});

    auto* sentence = new QHBoxLayout;
    sentence->addWidget(txtTime);
    sentence->addWidget(new QLabel(tr("milliseconds"), this));
    sentence->addWidget(cmbTime);
    sentence->addWidget(new QLabel(tr("than normally programmed."), this));

    cmdOK = new QPushButton(tr("OK"), this);
    cmdCancel = new QPushButton(tr("Cancel"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);

    auto* column = new QVBoxLayout(this);
    column->setSizeConstraint(QLayout::SetFixedSize);
    column->addLayout(sentence);
    column->addWidget(new QLabel(tr("(1 second = 1000 milliseconds.)"), this));
    column->addSpacing(6);
    column->addLayout(buttons);

    connect(cmdOK, &QPushButton::clicked, this, &frmDelay::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmDelay::cmdCancel_Click);
    // Enter and Escape belong to the dialog whichever control has the focus, so every control
    // shows them to the dialog first.
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
    txtTime->setFocus();
}

void frmDelay::Init(int32_t delay)
{
    // In 64 bits: the most negative delay has no 32-bit absolute value.
    showValueText(QString::number(std::llabs(int64_t(delay))));
    cmbTime->setCurrentIndex(delay < 1 ? 0 : 1);
}

std::optional<int32_t> frmDelay::DelayFromText(const QString& text, int directionIndex)
{
    const std::optional<double> magnitude = ParseLenient(text);
    if (!magnitude)
        return std::nullopt;
    const double sign = directionIndex - 0.5 < 0 ? -1.0 : 1.0;
    return RoundToInt32(*magnitude * sign);
}

void frmDelay::cmdOK_Click()
{
    const std::optional<int32_t> delay = DelayFromText(txtTime->Text(), cmbTime->currentIndex());
    if (!delay) {
        // Taking a wrapped or clamped number would move the subtitles somewhere unasked for.
        const QString text = tr("Please enter a valid delay.");
        if (messageSink_)
            messageSink_(QMessageBox::Critical, text);
        else
            QMessageBox(QMessageBox::Critical, modMain::kAppTitle, text, QMessageBox::Ok, this)
                .exec();
        txtTime->setFocus(Qt::OtherFocusReason);
        return;
    }
    DelayValue = *delay;
    Canceled = false;
    accept();
}

void frmDelay::cmdCancel_Click()
{
    reject();
}

void frmDelay::showValueText(const QString& text)
{
    // The limit is for typing: a longer value handed in is shown whole, never cut to another.
    if (text.size() > txtTime->MaxLength())
        txtTime->SetMaxLength(int(text.size()));
    txtTime->SetText(text);
}

bool frmDelay::handleKey(QKeyEvent* event)
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

bool frmDelay::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && handleKey(static_cast<QKeyEvent*>(event)))
        return true;
    return QDialog::eventFilter(watched, event);
}

void frmDelay::keyPressEvent(QKeyEvent* event)
{
    if (!handleKey(event))
        QDialog::keyPressEvent(event);
}
