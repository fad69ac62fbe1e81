#pragma once

#include <QString>

// Re-encodes a test AVI's video as Motion JPEG in a Matroska file, in-process with GStreamer: a
// container that is not AVI (so it carries no frame duration header) and that both engines play.
// Returns false when the pipeline fails or does not finish within ten seconds.
bool WriteTestMatroska(const QString& aviPath, const QString& matroskaPath);
