#include "sync/RatePairs.h"

#include <algorithm>
#include <cmath>

namespace {
// Factors closer than this are the same one (23.976/24 and 29.97/30 are both 1000/1001).
constexpr double SameFactor = 1e-6;
// A video rate read from a file header is rounded to whole microseconds per frame.
constexpr double SameRate = 2e-3;
}

const std::vector<double>& RatePairs::Rates()
{
    static const std::vector<double> rates{24000.0 / 1001, 24.0, 25.0, 30000.0 / 1001, 30.0};
    return rates;
}

std::vector<double> RatePairs::Factors()
{
    std::vector<double> factors{1.0};
    for (double subtitles : Rates())
        for (double video : Rates()) {
            const double f = video / subtitles;
            if (std::none_of(factors.begin(), factors.end(),
                             [&](double g) { return std::abs(f - g) < SameFactor; }))
                factors.push_back(f);
        }
    return factors;
}

std::optional<RatePair> RatePairs::PairFor(double factor, double videoFps)
{
    std::optional<RatePair> found;
    for (double subtitles : Rates())
        for (double video : Rates()) {
            const RatePair pair{subtitles, video};
            if (subtitles == video || std::abs(pair.Factor() - factor) >= SameFactor)
                continue;
            if (std::abs(video - videoFps) < SameRate)
                return pair;
            if (!found)
                found = pair;
        }
    return found;
}
