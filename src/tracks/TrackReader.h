#pragma once

#include "tracks/EmbeddedTrack.h"

#include "subtitles/SubtitleStore.h"

#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

// What reading one track gave.
struct TrackRead
{
    std::shared_ptr<SubtitleStore> entries = std::make_shared<SubtitleStore>();
    std::optional<EmbeddedTrack> track;   // the track read; nullopt when the medium has no such
    bool complete = false;                // read to its end; false keeps what came before
    QString problem;                      // why not (empty when complete)
};

// Reads the cues of one text subtitle track of a medium. Only that track's packets are read;
// the demuxer skips every other stream. A medium that is cut short or damaged gives the cues
// read up to the fault.
class TrackReader
{
public:
    // Beyond these the track is no subtitle track a viewer could read; the rest is left out, so
    // memory stays bounded whatever the file claims.
    static constexpr size_t MaximumCues = 1'000'000;
    static constexpr qsizetype MaximumCueBytes = 64 * 1024;
    static constexpr qint64 MaximumTrackBytes = 256LL * 1024 * 1024;

    // The cues read so far, handed over while the reading goes on (a large film is read whole
    // before its last cue is known; the first ones can be shown long before).
    using Progress = std::function<void(const TrackRead& soFar)>;
    static constexpr int ProgressMilliseconds = 1000;

    // trackNumber counts the medium's subtitle tracks from 1 (EmbeddedTrack::number). progress,
    // when given, is called on the reading thread every progressMilliseconds with new cues.
    static TrackRead Read(const QString& path, int trackNumber,
                          const std::atomic<bool>* stop = nullptr, const Progress& progress = {},
                          int progressMilliseconds = ProgressMilliseconds);
};
