#pragma once

#include <optional>
#include <vector>

// The frame rates films and subtitle files are made for, and the speed factors between them: a
// subtitle file made for a film at `subtitles` frames per second, played against the same film at
// `video` frames per second, runs at video / subtitles of the speed it should.
struct RatePair
{
    double subtitles = 0;
    double video = 0;
    double Factor() const { return video / subtitles; }
};

class RatePairs
{
public:
    // 23.976 (24000/1001), 24, 25, 29.97 (30000/1001) and 30.
    static const std::vector<double>& Rates();
    // 1 first, then every distinct factor of an ordered pair of different rates.
    static std::vector<double> Factors();
    // The pair behind a factor; the one whose video side is videoFps when there is one (0 when
    // the video's rate is unknown). Nothing for the factor 1 or one that is no pair's.
    static std::optional<RatePair> PairFor(double factor, double videoFps);
};
