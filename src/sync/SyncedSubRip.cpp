#include "sync/SyncedSubRip.h"

#include "subtitles/SubtitleReader.h"

#include <QSaveFile>

#include <cmath>

namespace {
QString srtTime(double ms)
{
    const auto total = static_cast<long long>(std::nearbyint(std::max(0.0, ms)));
    return QStringLiteral("%1:%2:%3,%4")
        .arg(total / 3600000, 2, 10, QLatin1Char('0'))
        .arg(total / 60000 % 60, 2, 10, QLatin1Char('0'))
        .arg(total / 1000 % 60, 2, 10, QLatin1Char('0'))
        .arg(total % 1000, 3, 10, QLatin1Char('0'));
}
}

QString WriteSyncedSubRip(const SubtitleReader& reader, int32_t videoFrus,
                          const Alignment& alignment, const QString& path)
{
    if (reader.Frames && videoFrus <= 0)
        return QStringLiteral("The subtitles count frames and the video's frame rate is unknown.");
    if (!(alignment.factor > 0))
        return QStringLiteral("No alignment to apply.");
    const double unitMs = reader.Frames ? videoFrus / 1000.0 : 1.0;
    QString text;
    int number = 0;
    for (const SubtitlePtr& entry : reader.Entries()) {
        const double start = entry->Time1.toDouble() * unitMs / alignment.factor + alignment.delay;
        const double end = entry->Time2.toDouble() * unitMs / alignment.factor + alignment.delay;
        if (start < 0)
            continue;
        QString body = entry->Text;
        body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        if (entry->Italic)
            body = QStringLiteral("<i>") + body + QStringLiteral("</i>");
        text += QStringLiteral("%1\n%2 --> %3\n%4\n\n")
                    .arg(++number)
                    .arg(srtTime(start), srtTime(end), body);
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0 || !file.commit())
        return QStringLiteral("%1 could not be written: %2").arg(path, file.errorString());
    return {};
}
