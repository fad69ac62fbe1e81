#pragma once

#include "RunProgram.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

// Media with subtitle tracks, made by ffmpeg from the subtitle files below, so the entries read
// back from a track can be compared with those of the file it was made from.
namespace TrackMedia {

inline const char SubRip[] =
    "1\r\n00:00:01,000 --> 00:00:02,500\r\n<i>Hello there,\r\nsecond line</i>\r\n\r\n"
    "2\r\n00:00:03,000 --> 00:00:04,000\r\nFish & chips\r\n\r\n"
    "3\r\n00:00:05,500 --> 00:00:09,000\r\nWWWWWWWW\r\n\r\n";

inline const char Ass[] =
    "[Script Info]\nScriptType: v4.00+\n\n[V4+ Styles]\n"
    "Format: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, OutlineColour, "
    "BackColour, Bold, Italic, Underline, StrikeOut, ScaleX, ScaleY, Spacing, Angle, "
    "BorderStyle, Outline, Shadow, Alignment, MarginL, MarginR, MarginV, Encoding\n"
    "Style: Default,Arial,20,&H00FFFFFF,&H000000FF,&H00000000,&H00000000,0,0,0,0,100,100,0,0,"
    "1,2,0,2,10,10,10,1\n\n[Events]\n"
    "Format: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n"
    "Dialogue: 0,0:00:01.00,0:00:02.50,Default,Anna,0,0,0,,{\\i1}Hallo, du\\Nzweite Zeile{\\i0}\n"
    "Dialogue: 0,0:00:05.50,0:00:09.00,Default,,0,0,0,,{\\an8}Tsch\xc3\xbcss\\hjetzt\n";

inline bool write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Where the subtitle files a medium is made from go: not beside the medium, where the player's
// discovery would find them.
inline QString source(const QDir& dir, const QString& name)
{
    dir.mkpath(QStringLiteral("sources"));
    return dir.filePath(QStringLiteral("sources/") + name);
}

inline bool ffmpeg(const QStringList& args)
{
    return RunProgram(QStringLiteral("ffmpeg"), QStringList{"-v", "error", "-nostdin", "-y"} + args,
                      120000);
}

// Two presentation segments of a PGS stream ("PG", presentation and decoding time, an empty
// end-of-display segment) that end at once: enough for a picture track.
inline const QByteArray PgsStream(
    "PG\x00\x01\x5f\x90\0\0\0\0\x80\0\0PG\x00\x02\xbf\x20\0\0\0\0\x80\0\0", 26);

inline QStringList picture(int seconds, const char* size = "320x240")
{
    return {"-f", "lavfi", "-i",
            QStringLiteral("color=c=0x2040a0:s=%1:r=5:d=%2").arg(size).arg(seconds)};
}

// Film.mkv: SubRip in English titled "Full", ASS in German marked default, PGS in French.
inline QString Matroska(const QDir& dir)
{
    if (!write(source(dir, "film.srt"), SubRip) || !write(source(dir, "film.ass"), Ass)
        || !write(source(dir, "film.sup"), PgsStream))
        return {};
    const QString out = dir.filePath(QStringLiteral("Film.mkv"));
    const bool made = ffmpeg(picture(10) + QStringList{
        "-i", source(dir, "film.srt"), "-i", source(dir, "film.ass"), "-i",
        source(dir, "film.sup"), "-map", "0", "-map", "1", "-map", "2", "-map", "3",
        "-c:v", "mpeg4", "-c:s:0", "srt", "-c:s:1", "ass", "-c:s:2", "copy",
        "-metadata:s:s:0", "language=eng", "-metadata:s:s:0", "title=Full",
        "-metadata:s:s:1", "language=ger", "-metadata:s:s:2", "language=fre",
        "-disposition:s:0", "0", "-disposition:s:1", "default", "-disposition:s:2", "0", out});
    return made ? out : QString();
}

// The SubRip file as the one subtitle track of an MP4 (timed text) or a WebM (WebVTT) video.
inline QString Converted(const QDir& dir, const QString& name)
{
    if (!write(source(dir, "film.srt"), SubRip))
        return {};
    const bool webm = name.endsWith(QLatin1String(".webm"));
    const QString out = dir.filePath(name);
    const bool made = ffmpeg(picture(10) + QStringList{
        "-i", source(dir, "film.srt"), "-map", "0", "-map", "1",
        "-c:v", webm ? "libvpx" : "mpeg4", "-c:s", webm ? "webvtt" : "mov_text", out});
    return made ? out : QString();
}

} // namespace TrackMedia
