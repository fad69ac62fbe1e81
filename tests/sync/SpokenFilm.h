#pragma once

#include <QString>
#include <QTemporaryDir>

#include <vector>

// A short film whose subtitle timing is known: sentences spoken by espeak-ng at chosen times,
// with pauses like dialogue, over a quiet noise bed, muxed with a small picture by ffmpeg.
class SpokenFilm
{
public:
    struct Line
    {
        double start = 0;  // milliseconds
        double end = 0;
        QString text;
    };

    // False (with the reason in Error()) when espeak-ng or ffmpeg is missing or fails.
    bool Make(int sentences, unsigned seed);
    QString Video() const { return m_video; }
    const std::vector<Line>& Lines() const { return m_lines; }
    QString Error() const { return m_error; }
    // Writes the lines as SubRip, each time t moved to (t - shiftMs) * factor: the file a player
    // needs a delay of shiftMs and a speed factor of `factor` to show in step.
    QString WriteSubRip(const QString& name, double shiftMs, double factor = 1.0) const;
    QString Path(const QString& name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
    QString m_video;
    std::vector<Line> m_lines;
    QString m_error;
};
