#pragma once

#include <QString>
#include <QStringList>

// A video and a subtitle file to open together, as given on the command line or dropped on the
// window; either may be empty.
struct FilesToOpen {
    QString media;
    QString subtitles;

    // .srt, .sub and .txt files are subtitles, as in the subtitle open dialog; anything else is
    // media.
    static bool IsSubtitleFile(const QString& path);
    // The first media file and the first subtitle file of the list, in whatever order they came.
    static FilesToOpen FromPaths(const QStringList& paths);
    // The video of the same name beside a subtitle file (the formats the media open dialog
    // lists), or empty: "Open with" on a subtitle file plays what it belongs to.
    static QString VideoBeside(const QString& subtitles);
};
