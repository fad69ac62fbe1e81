#pragma once

#include <QByteArray>

// A SubRip file of the given number of entries, two text lines each, every fifth in italics,
// entries 2.5 s apart and shown for 2 s: about 100 bytes an entry.
QByteArray GenerateSrt(int entries);
