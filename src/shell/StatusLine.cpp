#include "shell/StatusLine.h"

#include "platform/NumberFormat.h"

#include <QCoreApplication>

#include <cmath>

namespace StatusLine {
namespace {
QString tr(const char* text)
{
    return QCoreApplication::translate("StatusLine", text);
}

bool mediaOpen(const StatusLineInput& input)
{
    return input.status >= PlayerStatus::Stopped;
}
} // namespace

QString PlaybackState(const StatusLineInput& input)
{
    switch (input.status) {
    case PlayerStatus::Opening: return tr("Opening...");
    case PlayerStatus::Stopped: return tr("Stopped");
    case PlayerStatus::Paused: return tr("Paused");
    case PlayerStatus::Playing: return tr("Playing");
    case PlayerStatus::NoMedia: break;
    }
    return {};
}

QString FrameRate(const StatusLineInput& input)
{
    if (!(input.videoFps > 0) || !std::isfinite(input.videoFps))
        return {};
    return ShortestDecimal(std::nearbyint(input.videoFps * 1000.0) / 1000.0)
         + QStringLiteral(" fps  ");
}

// Nothing while no medium is open or one is opening: the last file's state would mislead.
QString SubtitleState(const StatusLineInput& input)
{
    if (!mediaOpen(input))
        return {};
    if (input.subtitleFile.isEmpty())
        return tr("No subtitles loaded.");
    const bool overridden = input.subtitleFps > 0;
    const bool sped = input.subtitleRate > 0 && input.subtitleRate != 1.0;
    if (input.delay == 0 && !overridden && !sped)
        return tr("Subtitles loaded.");
    QString text = tr("Subtitles ");
    if (input.delay != 0)
        text += QStringLiteral("(delay %1 ms) ").arg(input.delay);
    if (overridden)
        text += QStringLiteral("(fps: %1)").arg(ShortestDecimal(input.subtitleFps));
    if (sped)
        text += QStringLiteral("(speed: %1)")
                    .arg(ShortestDecimal(std::nearbyint(input.subtitleRate * 10000) / 10000));
    return text;
}

QString Time(const StatusLineInput& input)
{
    return mediaOpen(input) ? ClockText(input.position) : QString();
}

QString FrameNumber(const StatusLineInput& input)
{
    if (!mediaOpen(input))
        return {};
    // Half to even on the exact decimal value, as the frame position is kept.
    const int64_t raw = input.positionFrame.raw();
    int64_t whole = raw / Currency::Scale;
    const int64_t rest = raw % Currency::Scale;
    if (rest * 2 > Currency::Scale || (rest * 2 == Currency::Scale && whole % 2 != 0))
        ++whole;
    if (whole <= 0)
        return {};
    return QStringLiteral(" Frame: %1").arg(whole);
}

QString TimeCell(const StatusLineInput& input)
{
    return Time(input) + FrameNumber(input);
}

QString ClockText(double seconds)
{
    // Beyond the range of a day's clock a film still shows its true hours; negative or broken
    // positions show the start.
    double rounded = std::nearbyint(seconds);
    if (!(rounded > 0) || !std::isfinite(rounded))
        rounded = 0;
    const auto total = static_cast<int64_t>(std::fmin(rounded, 9.0e15));
    const QChar zero(QLatin1Char('0'));
    const QString mmss = QStringLiteral("%1:%2").arg(total / 60 % 60, 2, 10, zero)
                             .arg(total % 60, 2, 10, zero);
    return total >= 3600 ? QStringLiteral("%1:").arg(total / 3600) + mmss : mmss;
}

} // namespace StatusLine
