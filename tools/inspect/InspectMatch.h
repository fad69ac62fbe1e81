#pragma once

#include <QStringList>

// veltrix-inspect match VIDEO [PATHSUBS]: the subtitle files automatic opening would try for
// VIDEO, best first, as JSON: each with its "path" and "score", whether discovery "tried" it, the
// "reason" why not (empty when it did) and whether it "loads" (the one the player would show).
// PATHSUBS is the last chosen subtitle file (its folder is searched); left out, the value the
// player has stored is used.
int InspectMatch(const QStringList& args);
