#include "shell/frmDelay.h"

#include "controls/SpinBox.h"
#include "platform/NumberParse.h"
#include "platform/Rounding.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>

#include <cstdlib>

// Digits and the decimal point: halves are typed and rounded, the sign is the combo's.
frmDelay::frmDelay(QWidget* parent)
    : ValueDialog(parent, tr("Set subtitle delay"), tr("Show subtitles "),
                  SpinBox::DecimalNumber, 2)
{
    txtTime->SetText(QStringLiteral("0"));
    cmbTime = new QComboBox(this);
    cmbTime->setObjectName(QStringLiteral("cmbTime"));
    cmbTime->addItems({tr("earlier"), tr("later")});

    auto* sentence = new QHBoxLayout;
    sentence->addWidget(txtTime);
    sentence->addWidget(new QLabel(tr("milliseconds"), this));
    sentence->addWidget(cmbTime);
    sentence->addWidget(new QLabel(tr("than normally programmed."), this));
    finishLayout(sentence, new QLabel(tr("(1 second = 1000 milliseconds.)"), this));
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
        refuse(tr("Please enter a valid delay."));
        return;
    }
    DelayValue = *delay;
    Canceled = false;
    accept();
}
