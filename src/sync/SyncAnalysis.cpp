#include "sync/SyncAnalysis.h"

#include "sync/Aligner.h"
#include "sync/AudioDecoder.h"
#include "sync/SpeechDetector.h"
#include "sync/VoiceActivity.h"

#include <QElapsedTimer>

#include <algorithm>

namespace {
// Below this many standard deviations the best delay is no better than chance: the subtitles
// belong to another film, or the sound has too little speech to tell. Films whose subtitles fit
// stand at 15 and more; another film's at 3 to 6.
constexpr double ConfidentProminence = 9.0;
constexpr double ChanceProminence = 5.0;
constexpr double CertainProminence = 15.0;
// Decoding is most of the work; the alignment is the rest of the progress bar.
constexpr double ListeningShare = 0.9;
}

std::vector<float> SyncAnalysis::Listen(const QString& video,
                                        const std::function<void(double)>& progress,
                                        const std::atomic<bool>& cancel, QString& error,
                                        Detector detector)
{
    AudioDecoder decoder;
    SpeechDetector own;
    VoiceActivity webRtc;
    if (detector == Detector::WebRtc && !webRtc.IsValid()) {
        error = QStringLiteral("The voice detector could not be started.");
        return {};
    }
    const bool decoded = decoder.Decode(
        video,
        [&](std::span<const int16_t> samples) {
            if (detector == Detector::Own)
                own.Add(samples);
            else
                webRtc.Add(samples);
        },
        progress, cancel);
    if (!decoded) {
        error = decoder.Error();
        return {};
    }
    if (detector == Detector::Own)
        return own.TakeScores();
    const std::vector<uint8_t> voiced = webRtc.TakeVoiced();
    return std::vector<float>(voiced.begin(), voiced.end());
}

SyncResult SyncAnalysis::Align(const std::vector<float>& voiced,
                               const std::vector<SpeechCue>& cues, double videoFps,
                               const std::atomic<bool>& cancel)
{
    SyncResult result;
    result.filmSeconds = voiced.size() * Aligner::FrameMs / 1000.0;
    if (std::none_of(voiced.begin(), voiced.end(), [](float v) { return v > 0; })) {
        result.error = QStringLiteral("No one is heard speaking in the film.");
        return result;
    }
    result.alignment = Aligner::Align(voiced, cues, cancel);
    result.canceled = cancel.load();
    Alignment& a = result.alignment;
    a.confidence = std::clamp((a.prominence - ChanceProminence) /
                                  (CertainProminence - ChanceProminence), 0.0, 1.0);
    a.confident = !result.canceled && a.prominence >= ConfidentProminence;
    if (a.factor != 1.0)
        result.pair = RatePairs::PairFor(a.factor, videoFps);
    return result;
}

SyncResult SyncAnalysis::Run(const QString& video, const std::vector<SpeechCue>& cues,
                             double videoFps, const std::function<void(double)>& progress,
                             const std::atomic<bool>& cancel)
{
    QElapsedTimer clock;
    clock.start();
    SyncResult result;
    if (cues.size() < 8) {
        result.error = QStringLiteral("The subtitle file has too few spoken entries to compare.");
        return result;
    }
    auto listening = [&](double share) {
        if (progress)
            progress(share * ListeningShare);
    };
    const std::vector<float> voiced = Listen(video, listening, cancel, result.error);
    if (cancel.load()) {
        result.canceled = true;
        return result;
    }
    if (voiced.empty())
        return result;
    result = Align(voiced, cues, videoFps, cancel);
    if (progress && !result.canceled)
        progress(1.0);
    result.seconds = clock.elapsed() / 1000.0;
    return result;
}
