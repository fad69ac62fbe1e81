#pragma once

#include "tracks/EmbeddedTrack.h"

#include <QString>

#include <atomic>
#include <optional>
#include <vector>

struct AVFormatContext;

// Which subtitle tracks a medium holds. Only the container's headers are read.
class TrackCatalog
{
public:
    // The subtitle tracks in stream order, numbered from 1; nullopt when the file cannot be
    // opened as a medium (error, when given, says why).
    static std::optional<std::vector<EmbeddedTrack>> List(const QString& path,
                                                          const std::atomic<bool>* stop = nullptr,
                                                          QString* error = nullptr);
    static std::vector<EmbeddedTrack> List(const AVFormatContext& medium);
};
