#pragma once

#include "files/FileMgr.h"

#include <QList>
#include <QString>

// Finds the subtitle files that belong to a video by their names: every .sub, .srt and .txt
// file in the video's folder and in the folder of the last chosen subtitle file is scored
// against the video's title, and the candidates are ranked best first. The window then loads
// the first candidate worth trying that loads.
class SubtitleDiscovery
{
public:
    struct Candidate
    {
        QString path;
        double score = 0.0;
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

    // Lists the video's folder, then the folder of lastSubtitleFile (the stored PATHSUBS),
    // scores both listings and sorts them by score, highest first. Every candidate is returned,
    // those not worth trying included, last.
    static QList<Candidate> RankCandidates(const QString& videoFile,
                                           const QString& lastSubtitleFile);

    static double Score(const QString& title, const QString& candidateTitleNoExt);
};
