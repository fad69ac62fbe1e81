#pragma once

#include <QStringList>

#include <functional>

class SubtitleReader;

// Reads subtitle track trackNumber of a video into the reader, as the player loads a chosen
// track; what stopped the reading early goes to standard error.
using TrackLoader = std::function<bool(SubtitleReader&, const QString& video, int trackNumber)>;

// Each subcommand takes the arguments after its name and returns the process exit status:
// 0 when it answered (even "the file does not load"), 2 for a usage error.
int InspectSubtitles(const QStringList& args, const TrackLoader& loadTrack);
int InspectAvi(const QStringList& args);
int InspectTracks(const QStringList& args);
int InspectSync(const QStringList& args);
// The track loader of the media inspector, through FFmpeg's demuxers.
bool LoadTrack(SubtitleReader& reader, const QString& video, int trackNumber);
