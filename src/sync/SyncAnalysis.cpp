#include "sync/SyncAnalysis.h"

#include "sync/Aligner.h"
#include "sync/AudioDecoder.h"
#include "sync/SpeechDetector.h"
#include "sync/VoiceActivity.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cmath>
#include <thread>

namespace {
// Below this many standard deviations the best delay is no better than chance: the subtitles
// belong to another film, or the sound has too little speech to tell. Films whose subtitles fit
// stand at 15 and more; another film's at 3 to 6.
constexpr double ConfidentProminence = 9.0;
constexpr double ChanceProminence = 5.0;
constexpr double CertainProminence = 15.0;
// A film at least this long is decoded as two halves in parallel.
constexpr double SplitSeconds = 120;
// Decoding is most of the work; the alignment is the rest of the progress bar.
constexpr double ListeningShare = 0.9;
}

namespace {
// One stretch of the film listened to on the calling thread.
struct Listener
{
    AudioDecoder decoder;
    SpeechDetector own;
    VoiceActivity webRtc;
    std::vector<float> scores;
    bool ok = false;

    void run(const QString& video, SyncAnalysis::Detector detector, double from, double to,
             const std::function<void(double)>& progress, const std::atomic<bool>& cancel)
    {
        const bool mine = detector == SyncAnalysis::Detector::Own;
        ok = decoder.Decode(
            video,
            [&](std::span<const int16_t> samples) {
                if (mine)
                    own.Add(samples);
                else
                    webRtc.Add(samples);
            },
            progress, cancel, from, to);
        if (mine) {
            scores = own.TakeScores();
        } else {
            const std::vector<uint8_t> voiced = webRtc.TakeVoiced();
            scores.assign(voiced.begin(), voiced.end());
        }
    }
};
}

std::vector<float> SyncAnalysis::Listen(const QString& video,
                                        const std::function<void(double)>& progress,
                                        const std::atomic<bool>& cancel, QString& error,
                                        Detector detector)
{
    if (detector == Detector::WebRtc && !VoiceActivity().IsValid()) {
        error = QStringLiteral("The voice detector could not be started.");
        return {};
    }
    // Decoding is nearly all the work: a longer film is heard as two halves at once, one on
    // this thread and one on a helper, so that both processor cores share it.
    const double duration = AudioDecoder::ProbeDuration(video, cancel);
    const double half = duration >= SplitSeconds ? std::floor(duration / 2) : 0;
    std::atomic<double> shares[2] = {0.0, 0.0};
    auto report = [&](int part) {
        return [&, part](double share) {
            shares[part] = share;
            if (progress)
                progress(half > 0 ? (shares[0] + shares[1]) / 2 : share);
        };
    };
    Listener first, second;
    std::thread helper;
    if (half > 0)
        helper = std::thread([&] { second.run(video, detector, half, 0, report(1), cancel); });
    first.run(video, detector, 0, half, report(0), cancel);
    if (helper.joinable())
        helper.join();
    if (cancel.load())
        return {};
    for (const Listener* part : {&first, &second}) {
        if (!part->ok && (part == &first || half > 0)) {
            error = part->decoder.Error();
            return {};
        }
    }
    std::vector<float> scores = std::move(first.scores);
    if (half > 0) {
        // The second half's first frame is the one at `half` seconds.
        scores.resize(static_cast<size_t>(half * 1000 / Aligner::FrameMs), 0.0f);
        scores.insert(scores.end(), second.scores.begin(), second.scores.end());
    }
    return scores;
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
