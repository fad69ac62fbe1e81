#pragma once

#include <QStringList>

class SubtitleReader;

// Each subcommand takes the arguments after its name and returns the process exit status:
// 0 when it answered (even "the file does not load"), 2 for a usage error.
int InspectSubtitles(const QStringList& args);
int InspectAvi(const QStringList& args);
int InspectTracks(const QStringList& args);
// Reads subtitle track trackNumber of a video into the reader, as the player loads a chosen
// track; what stopped the reading early goes to standard error.
bool LoadTrack(SubtitleReader& reader, const QString& video, int trackNumber);
