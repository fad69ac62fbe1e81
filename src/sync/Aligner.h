#pragma once

#include "sync/Alignment.h"
#include "sync/SpeechCue.h"

#include <atomic>
#include <vector>

// Finds the delay and speed factor that line subtitle entries up with the speech heard in the
// film: the speech (one flag per 10 ms) is cross-correlated with the times the entries are shown,
// for the factor 1 and every factor between the usual frame rates, first coarsely over every
// delay, then finely around the best.
class Aligner
{
public:
    static constexpr double FrameMs = 10.0;

    // speech: how strongly someone speaks, one value per 10 ms (a 0/1 flag or a score: only how
    // it rises and falls matters). Nothing confident with too few entries or too little speech.
    static Alignment Align(const std::vector<float>& speech, const std::vector<SpeechCue>& cues,
                           const std::atomic<bool>& cancel);
};
