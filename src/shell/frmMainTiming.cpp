// The two corrections of the Subtitles menu: the delay and the frame rate the subtitle file was
// made for. Both live in the active reader only, which the next tick's lookup reads.
#include "shell/frmMain.h"

#include "media/MediaPlayerController.h"
#include "platform/NumberFormat.h"
#include "shell/frmDelay.h"
#include "shell/frmFramerate.h"
#include "shell/modMain.h"

#include <QMenu>

#include <cmath>
#include <limits>

namespace {
constexpr int kDelayDialogItem = 8;
constexpr int kFramerateDialogItem = 7;
// Milliseconds added by items 0 to 6 of the delay menu; item 0 sets the delay to 0 instead.
constexpr int32_t kDelaySteps[] = {0, -250, 250, -500, 500, -1000, 1000};
// Frames per second set by items 0 to 6 of the frame-rate menu; item 1 is a separator.
constexpr double kFramerates[] = {0, 0, 23.976, 24, 25, 29.97, 30};
} // namespace

void frmMain::buildTimingMenus()
{
    mnuSubtitlesDelay = mnuSubtitles->addMenu(tr("Subtitle &delay (synchronization)"));
    const QString delayCaptions[] = {tr("None"),
                                     tr("-250 milliseconds"),
                                     tr("+250 milliseconds"),
                                     tr("-500 milliseconds"),
                                     tr("+500 milliseconds"),
                                     tr("-1 second"),
                                     tr("+1 second"),
                                     QString(),
                                     tr("Set delay...")};
    for (int i = 0; i < int(mnuSubtitlesDelayOption.size()); ++i) {
        QAction* item = delayCaptions[i].isEmpty() ? mnuSubtitlesDelay->addSeparator()
                                                   : mnuSubtitlesDelay->addAction(delayCaptions[i]);
        connect(item, &QAction::triggered, this, [this, i] { mnuSubtitlesDelayOption_Click(i); });
        mnuSubtitlesDelayOption[i] = item;
    }

    mnuSubtitleFramerate = mnuSubtitles->addMenu(tr("Subtitle &framerate"));
    const QString framerateCaptions[] = {tr("&Same as video"),
                                         QString(),
                                         tr("23.976"),
                                         tr("24.000"),
                                         tr("25.000"),
                                         tr("29.970"),
                                         tr("30.000"),
                                         tr("Set &custom...")};
    for (int i = 0; i < int(mnuSubtitleFramerateOption.size()); ++i) {
        QAction* item = framerateCaptions[i].isEmpty()
                            ? mnuSubtitleFramerate->addSeparator()
                            : mnuSubtitleFramerate->addAction(framerateCaptions[i]);
        connect(item, &QAction::triggered, this,
                [this, i] { mnuSubtitleFramerateOption_Click(i); });
        mnuSubtitleFramerateOption[i] = item;
    }
    connect(mnuSubtitleFramerate, &QMenu::aboutToShow, this, &frmMain::mnuSubtitleFramerate_Click);
    buildSyncMenu();
}

void frmMain::mnuSubtitleFramerate_Click()
{
    QString caption = tr("&Same as video");
    const double videoRate = modMain::Player().FPS();
    if (std::isfinite(videoRate) && videoRate > 0) {
        const double shown = std::nearbyint(videoRate * 1000) / 1000;
        caption += QStringLiteral(" (") + ShortestDecimal(shown) + QStringLiteral("fps)");
    }
    mnuSubtitleFramerateOption[0]->setText(caption);
}

void frmMain::mnuSubtitlesDelayOption_Click(int index)
{
    if (index == 0) {
        subReader_->delay = 0;
    } else if (index > 0 && index < int(std::size(kDelaySteps))) {
        // A step past either end of 32 bits leaves the delay where it is.
        const int64_t moved = int64_t(subReader_->delay) + kDelaySteps[index];
        if (moved >= std::numeric_limits<int32_t>::min()
            && moved <= std::numeric_limits<int32_t>::max())
            subReader_->delay = int32_t(moved);
    } else if (index == kDelayDialogItem) {
        frmDelay dialog(this);
        dialog.SetMessageSink(messageSink_);
        dialog.Init(subReader_->delay);
        modMain::ShowDialog(&dialog, true);
        // Read the reader again: it is the one in use when the dialog closes that takes the value.
        if (!dialog.Canceled)
            subReader_->delay = dialog.DelayValue;
    }
    Able();
}

void frmMain::mnuSubtitleFramerateOption_Click(int index)
{
    if (index == 0 || (index >= 2 && index < int(std::size(kFramerates)))) {
        subReader_->FPS = kFramerates[index];
        // "Same as video" also undoes a speed the audio synchronisation set.
        if (index == 0)
            subReader_->Rate = 1.0;
    } else if (index == kFramerateDialogItem) {
        frmFramerate dialog(this);
        dialog.SetMessageSink(messageSink_);
        const double current = subReader_->FPS;
        dialog.Init(current > 0 ? current : modMain::Player().FPS());
        modMain::ShowDialog(&dialog, true);
        if (!dialog.Canceled)
            subReader_->FPS = dialog.FramerateValue;
    }
    Able();
}
