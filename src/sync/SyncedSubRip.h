#pragma once

#include "sync/Alignment.h"

#include <QString>

#include <cstdint>

class SubtitleReader;

// Writes the reader's entries as a SubRip file (UTF-8) at the times the alignment puts them in
// the film, so that any player shows them in step without a delay or override. Frame-based
// entries become time through videoFrus. Entries that would start before the film are dropped.
// Returns an error message, empty on success; the file is replaced only when complete.
QString WriteSyncedSubRip(const SubtitleReader& reader, int32_t videoFrus,
                          const Alignment& alignment, const QString& path);
