#include "shell/FilesToOpen.h"

#include <QDir>
#include <QFileInfo>

namespace {

// The video formats the media open dialog lists.
const QStringList kVideoSuffixes = {
    QStringLiteral("avi"), QStringLiteral("mpg"), QStringLiteral("asf"), QStringLiteral("mkv"),
    QStringLiteral("mp4"), QStringLiteral("m4v"), QStringLiteral("webm"), QStringLiteral("mov"),
    QStringLiteral("wmv"), QStringLiteral("ogv"), QStringLiteral("ts"),
};

} // namespace

QString FilesToOpen::VideoBeside(const QString& subtitles)
{
    const QFileInfo info(subtitles);
    const QString base = info.completeBaseName();
    // Compared by name rather than through a wildcard: names like "Film [1080p]" hold brackets.
    for (const QFileInfo& candidate : info.dir().entryInfoList(QDir::Files, QDir::Name)) {
        if (candidate.completeBaseName() == base
            && kVideoSuffixes.contains(candidate.suffix().toLower()))
            return candidate.filePath();
    }
    return {};
}

bool FilesToOpen::IsSubtitleFile(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("srt") || suffix == QLatin1String("sub")
        || suffix == QLatin1String("txt");
}

FilesToOpen FilesToOpen::FromPaths(const QStringList& paths)
{
    FilesToOpen files;
    for (const QString& path : paths) {
        QString& slot = IsSubtitleFile(path) ? files.subtitles : files.media;
        if (slot.isEmpty())
            slot = path;
    }
    return files;
}
