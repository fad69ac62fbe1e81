#pragma once

#include "files/FileMgr.h"

#include <QList>
#include <QString>

#include <functional>

// Finds the subtitle files that belong to a video by their names: every .sub, .srt and .txt
// file in the video's folder, in the folder of the last chosen subtitle file and in the video's
// "Subs" or "Subtitles" folder is scored against the video's title, and the candidates are
// ranked best first. The window then loads the first candidate worth trying that loads.
class SubtitleDiscovery
{
public:
    struct Candidate
    {
        QString path;
        double score = 0.0;
        bool exactTitle = false;   // its title is the video's (letter case ignored)
        int foreignWords = 0;      // words of its name that the video's title does not hold
        // Why it is never tried whatever its score ("another episode: S01E02"); empty if none.
        QString excluded;
    };

    // What trying the candidates in order, as the player does, makes of each.
    struct Attempt
    {
        bool tried = false;
        QString reason;            // why it was not tried; empty when it was
        bool loads = false;        // the one that loaded
    };

    // Candidates scoring this much or less are never tried.
    static constexpr double Threshold = 0.25;
    static bool IsWorthTrying(double score) { return score > Threshold; }   // NaN is not

    // Scores every subtitle-looking entry of the listing against the title of the video file,
    // stores the score in the entry's TagDouble and appends the entry to the result, whatever
    // its score. A word of the entry's name scores its length plus one when the title contains
    // it (letter case ignored); the sum is divided by the title's length.
    static void ScoreSubtitleFiles(const QString& videoFile, const FileMgr::Entries& listing,
                                   FileMgr::Entries& result);

    // Lists the video's folder, the folder of lastSubtitleFile (the stored PATHSUBS) and the
    // video's "Subs" and "Subtitles" folders, scores the listings and sorts them by score,
    // highest first; equal scores put the video's own title first, then the name with fewer
    // foreign words, then listing order. Every candidate is returned, those never tried too.
    static QList<Candidate> RankCandidates(const QString& videoFile,
                                           const QString& lastSubtitleFile);

    // Goes through the ranked candidates as the player does: it stops at the first whose score
    // is not worth trying, passes over excluded ones, and stops at the first that load accepts.
    static QList<Attempt> TryInOrder(const QList<Candidate>& ranked,
                                     const std::function<bool(const QString& path)>& load);

    static double Score(const QString& title, const QString& candidateTitleNoExt);
};
