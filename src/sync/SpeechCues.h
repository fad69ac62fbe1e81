#pragma once

#include "sync/SpeechCue.h"

#include <cstdint>
#include <vector>

class SubtitleReader;

// What of a loaded subtitle file the alignment listens for: the entries someone speaks, in
// milliseconds. Entries that only describe sound ("[music]", "(door slams)", "♪ ♪") are left
// out, since nobody is heard speaking them. Frame numbers become time through the video's
// frame duration; a frame-based file without one gives nothing.
std::vector<SpeechCue> SpeechCuesOf(const SubtitleReader& reader, int32_t videoFrus);
