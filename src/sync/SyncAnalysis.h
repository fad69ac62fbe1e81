#pragma once

#include "sync/Alignment.h"
#include "sync/RatePairs.h"
#include "sync/SpeechCue.h"

#include <QString>

#include <atomic>
#include <functional>
#include <optional>
#include <vector>

// What listening to a film against its subtitles found.
struct SyncResult
{
    // Empty when the analysis ran to its end; the reason otherwise (no sound, too few entries).
    QString error;
    bool canceled = false;
    Alignment alignment;
    // The frame-rate pair behind a factor other than 1.
    std::optional<RatePair> pair;
    double filmSeconds = 0;
    double seconds = 0;
};

// Decodes the film's sound, finds where people speak and lines the subtitle entries up with it.
// Runs on whatever thread calls it, with one helper thread of its own while it decodes;
// `progress` is called with 0 to 1 from either of them, and the analysis stops soon after
// `cancel` becomes true.
class SyncAnalysis
{
public:
    // videoFps: the video's own frame rate, 0 when unknown; it picks the pair a factor names.
    static SyncResult Run(const QString& video, const std::vector<SpeechCue>& cues,
                          double videoFps, const std::function<void(double)>& progress,
                          const std::atomic<bool>& cancel);
    // The same on speech already found, one flag per 10 ms (for the evaluation, which listens
    // to a film once and aligns many subtitle files with it).
    static SyncResult Align(const std::vector<float>& speech, const std::vector<SpeechCue>& cues,
                            double videoFps, const std::atomic<bool>& cancel);
    // Which detector finds the speech: ours, or WebRTC's (kept to measure ours against).
    enum class Detector { Own, WebRtc };
    // Listens only: one speech value per 10 ms, empty with a message in error when there is no
    // sound.
    static std::vector<float> Listen(const QString& video,
                                     const std::function<void(double)>& progress,
                                     const std::atomic<bool>& cancel, QString& error,
                                     Detector detector = Detector::Own);
};
