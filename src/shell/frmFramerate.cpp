#include "shell/frmFramerate.h"

#include "controls/SpinBox.h"
#include "platform/NumberFormat.h"
#include "platform/NumberParse.h"

#include <QFocusEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

#include <cmath>

namespace {
constexpr double kLowestRate = 1.0;
constexpr double kHighestRate = 1000.0;
} // namespace

frmFramerate::frmFramerate(QWidget* parent)
    : ValueDialog(parent, tr("Set subtitle framerate"), tr("Subtitle framerate:"),
                  SpinBox::AnyText, 8)
{
    auto* sentence = new QHBoxLayout;
    sentence->addWidget(txtTime);
    sentence->addWidget(new QLabel(tr("frames/second"), this));
    sentence->addStretch();
    finishLayout(sentence);
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
    refuse(tr("Please enter a valid framerate."));
}

void frmFramerate::txtTime_LostFocus()
{
    // A number too large for a double is left as typed for OK to refuse; anything else reads
    // back as the number it stands for, 0 when there is none.
    if (const std::optional<double> value = ParseLenient(txtTime->Text()))
        showValueText(ShortestDecimal(*value));
}

bool frmFramerate::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut && watched == txtTime->TextBox()) {
        // Switching to another window, a menu or the message box leaves the focus in the box.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            txtTime_LostFocus();
    }
    return ValueDialog::eventFilter(watched, event);
}
