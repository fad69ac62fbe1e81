#include "sync/Aligner.h"

#include "sync/CrossCorrelation.h"
#include "sync/RatePairs.h"

#include <algorithm>
#include <cmath>

namespace {
// The coarse search looks at 40 ms at a time: four times less work, and still fine enough to
// tell 1000/1001 from 1 over a quarter of an hour.
constexpr int CoarseFrames = 4;
// Lags this close to the best one are its own shoulder, not competitors, when judging how much
// the best stands out.
constexpr double ShoulderMs = 5000;
// A delay that leaves less than this share of the subtitles over the film is not considered.
constexpr double MinOverlap = 0.5;
constexpr size_t MinCues = 8;

// The speech averaged over `frames` values at a time, then brought to mean 0 and deviation 1 so
// that flags and scores weigh the same against the +1/-1 of the subtitles.
std::vector<double> speechSignal(const std::vector<float>& speech, int frames)
{
    std::vector<double> signal(speech.size() / frames);
    for (size_t i = 0; i < signal.size(); ++i) {
        double sum = 0;
        for (int k = 0; k < frames; ++k)
            sum += speech[i * frames + k];
        signal[i] = sum / frames;
    }
    double mean = 0, squares = 0;
    for (double v : signal)
        mean += v;
    mean /= std::max<size_t>(1, signal.size());
    for (double v : signal)
        squares += (v - mean) * (v - mean);
    const double deviation = std::sqrt(squares / std::max<size_t>(1, signal.size()));
    for (double& v : signal)
        v = deviation > 0 ? (v - mean) / deviation : 0.0;
    return signal;
}

// +1 where an entry is shown, -1 between entries, 0 before the first; bins of binMs of the
// film's clock with the subtitle clock sped up by factor.
struct SubtitleSignal
{
    std::vector<double> values;
    size_t first = 0;  // the first bin of the first entry
};

SubtitleSignal subtitleSignal(const std::vector<SpeechCue>& cues, double factor, double binMs)
{
    SubtitleSignal s;
    double lastEnd = 0;
    for (const SpeechCue& c : cues)
        lastEnd = std::max(lastEnd, c.end / factor);
    s.values.assign(static_cast<size_t>(lastEnd / binMs) + 1, -1.0);
    s.first = s.values.size();
    for (const SpeechCue& c : cues) {
        const auto a = static_cast<size_t>(std::max(0.0, std::round(c.start / factor / binMs)));
        const auto b = std::min(s.values.size(),
                                static_cast<size_t>(std::round(c.end / factor / binMs)));
        s.first = std::min(s.first, a);
        for (size_t i = a; i < b; ++i)
            s.values[i] = 1.0;
    }
    std::fill(s.values.begin(), s.values.begin() + static_cast<long>(s.first), 0.0);
    return s;
}

struct Peak
{
    long lag = 0;
    double agreement = -1;  // the score over the number of subtitle bins: -1 to 1
    double prominence = 0;
};

Peak bestLag(const std::vector<double>& scores, const SubtitleSignal& subtitles, size_t filmBins,
             double binMs)
{
    const long span = static_cast<long>(subtitles.values.size() - subtitles.first);
    const long offset = static_cast<long>(CrossCorrelation::Offset(subtitles.values.size()));
    const long first = static_cast<long>(subtitles.first);
    const long end = static_cast<long>(subtitles.values.size());
    auto valid = [&](long lag) {
        const long overlap = std::min(end + lag, static_cast<long>(filmBins)) -
                             std::max(first + lag, 0L);
        return overlap >= MinOverlap * span;
    };
    Peak peak;
    double bestScore = -1e300;
    for (size_t k = 0; k < scores.size(); ++k) {
        const long lag = static_cast<long>(k) - offset;
        if (scores[k] > bestScore && valid(lag)) {
            bestScore = scores[k];
            peak.lag = lag;
        }
    }
    if (bestScore == -1e300)
        return peak;
    peak.agreement = bestScore / static_cast<double>(std::max(1L, span));
    const long shoulder = static_cast<long>(ShoulderMs / binMs);
    double sum = 0, squares = 0;
    long count = 0;
    for (size_t k = 0; k < scores.size(); ++k) {
        const long lag = static_cast<long>(k) - offset;
        if (std::abs(lag - peak.lag) <= shoulder || !valid(lag))
            continue;
        sum += scores[k];
        squares += scores[k] * scores[k];
        ++count;
    }
    if (count > 1) {
        const double mean = sum / count;
        const double deviation = std::sqrt(std::max(0.0, squares / count - mean * mean));
        if (deviation > 0)
            peak.prominence = (bestScore - mean) / deviation;
    }
    return peak;
}

// The delay to a tenth of a frame: the best 10 ms lag near the coarse one, then the top of the
// parabola through it and its neighbours.
double fineDelay(const std::vector<double>& speech, const std::vector<SpeechCue>& cues,
                 double factor, long coarseLag)
{
    const SubtitleSignal subtitles = subtitleSignal(cues, factor, Aligner::FrameMs);
    const long film = static_cast<long>(speech.size());
    auto score = [&](long lag) {
        double sum = 0;
        for (size_t i = subtitles.first; i < subtitles.values.size(); ++i) {
            const long at = static_cast<long>(i) + lag;
            if (at >= 0 && at < film)
                sum += subtitles.values[i] * speech[static_cast<size_t>(at)];
        }
        return sum;
    };
    const long centre = coarseLag * CoarseFrames;
    long best = centre;
    double bestScore = -1e300;
    std::vector<double> scores;
    for (long lag = centre - 2 * CoarseFrames; lag <= centre + 2 * CoarseFrames; ++lag) {
        scores.push_back(score(lag));
        if (scores.back() > bestScore) {
            bestScore = scores.back();
            best = lag;
        }
    }
    const size_t i = static_cast<size_t>(best - (centre - 2 * CoarseFrames));
    double shift = 0;
    if (i > 0 && i + 1 < scores.size()) {
        const double curve = scores[i - 1] - 2 * scores[i] + scores[i + 1];
        if (curve < 0)
            shift = std::clamp(0.5 * (scores[i - 1] - scores[i + 1]) / curve, -0.5, 0.5);
    }
    return (static_cast<double>(best) + shift) * Aligner::FrameMs;
}
}

Alignment Aligner::Align(const std::vector<float>& voiced, const std::vector<SpeechCue>& cues,
                         const std::atomic<bool>& cancel)
{
    Alignment result;
    const std::vector<double> speech = speechSignal(voiced, CoarseFrames);
    if (cues.size() < MinCues || speech.size() < 2)
        return result;
    const std::vector<double> factors = RatePairs::Factors();
    const double coarseMs = FrameMs * CoarseFrames;
    size_t longest = 0;
    for (double f : factors)
        longest = std::max(longest, subtitleSignal(cues, f, coarseMs).values.size());
    CrossCorrelation correlation(speech, longest);

    Peak best;
    for (double factor : factors) {
        if (cancel.load(std::memory_order_relaxed))
            return Alignment{};
        const SubtitleSignal subtitles = subtitleSignal(cues, factor, coarseMs);
        const Peak peak = bestLag(correlation.Scores(subtitles.values), subtitles, speech.size(),
                                  coarseMs);
        if (peak.agreement > best.agreement) {
            best = peak;
            result.factor = factor;
        }
    }
    result.delay = fineDelay(speechSignal(voiced, 1), cues, result.factor, best.lag);
    result.prominence = best.prominence;
    return result;
}
