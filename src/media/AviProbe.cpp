#include "media/AviProbe.h"

#include "platform/Currency.h"

#include <QFile>
#include <QtEndian>

namespace {
constexpr qsizetype ChunkIdOffset = 24;
constexpr qsizetype FrameDurationOffset = 32;
constexpr qsizetype HeaderBytes = FrameDurationOffset + 4;
} // namespace

int32_t ProbeAviFrameDuration(QByteArrayView header)
{
    if (header.size() < HeaderBytes)
        return 0;
    if (header.sliced(ChunkIdOffset, 4) != QByteArrayView("avih"))
        return 0;
    return qFromLittleEndian<qint32>(header.data() + FrameDurationOffset);
}

int32_t ProbeAviFrameDuration(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    // Only the fixed start of the file matters; a FIFO or a huge file must not be read further.
    return ProbeAviFrameDuration(QByteArrayView(file.read(HeaderBytes)));
}

double FramesPerSecond(int32_t microsecondsPerFrame)
{
    if (microsecondsPerFrame == 0)
        return 0.0;
    return 1000000.0 / microsecondsPerFrame;
}

Currency FrameAtPosition(double positionSeconds, int32_t microsecondsPerFrame)
{
    if (microsecondsPerFrame == 0)
        return {};
    return Currency::fromDouble(positionSeconds * 1000000.0 / microsecondsPerFrame)
        .value_or(Currency());
}
