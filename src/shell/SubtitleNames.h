#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// What a file name says about the video it belongs to, for telling the subtitle files of one
// video from those of another: its words, and the episode it names (S01E02, s1e2, 1x02).
class SubtitleNames
{
public:
    struct Episode
    {
        int season = 0;
        int episode = 0;
        bool operator==(const Episode&) const = default;
    };

    // "_", "-" and "." separate words as blanks do; runs of them give empty words, kept.
    static QStringList WordsOf(const QString& titleNoExt);
    // The first episode mark of a name, if it has one.
    static std::optional<Episode> EpisodeOf(const QString& titleNoExt);
    // "S01E02", as a reason to show.
    static QString Describe(const Episode& episode);
    // How many words of the candidate's name the title does not contain (letter case ignored).
    static int ForeignWords(const QString& title, const QString& candidateTitleNoExt);
};
