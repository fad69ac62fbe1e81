#pragma once

// One subtitle entry as the alignment sees it: when it is shown, in milliseconds of the
// subtitle file's own clock (frame numbers already turned into time).
struct SpeechCue
{
    double start = 0;
    double end = 0;
};
