#pragma once

#include <QStringList>

// Each subcommand takes the arguments after its name and returns the process exit status:
// 0 when it answered (even "the file does not load"), 2 for a usage error.
int InspectSubtitles(const QStringList& args);
int InspectAvi(const QStringList& args);
int InspectSync(const QStringList& args);
