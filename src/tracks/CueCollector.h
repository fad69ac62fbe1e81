#pragma once

#include "tracks/CueText.h"

#include "subtitles/SubtitleStore.h"

#include <cstdint>
#include <memory>

// Turns the cues of one track, in the order the demuxer delivers them, into subtitle entries.
// Times are milliseconds of the playback position.
class CueCollector
{
public:
    // A duration of 0 or less means "until the next cue" (some muxers leave it out); a
    // cue without any text only ends such an open cue. Cues with the same start and end
    // (ASS events on several layers) become one entry of all their lines.
    void Add(int64_t start, int64_t duration, const CueLines& cue);
    std::shared_ptr<SubtitleStore> Finish();
    // A copy of the entries so far, for another thread to use while this one goes on.
    std::shared_ptr<SubtitleStore> Snapshot() const;
    size_t size() const { return m_store->size(); }

private:
    // How long an open cue shows when no cue follows it.
    static constexpr int64_t OpenCueMilliseconds = 5000;

    std::shared_ptr<SubtitleStore> m_store = std::make_shared<SubtitleStore>();
    Subtitle* m_last = nullptr;
    int64_t m_lastStart = 0;
    int64_t m_lastDuration = 0;
    bool m_lastOpen = false;
};
