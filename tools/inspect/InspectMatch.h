#pragma once

#include <QStringList>

// veltrix-inspect match VIDEO [PATHSUBS]: the subtitle files automatic opening would try for
// VIDEO, best first, as JSON. PATHSUBS is the last chosen subtitle file (its folder is
// searched); left out, the value the player has stored is used.
int InspectMatch(const QStringList& args);
