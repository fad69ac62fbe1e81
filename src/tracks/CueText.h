#pragma once

#include "tracks/EmbeddedTrack.h"

#include <QByteArrayView>
#include <QStringList>

// The text of one subtitle packet, as lines in the markup of a subtitle file's lines, so that
// they go through the same conversion (Subtitle::AddText) as the lines of a file.
struct CueLines
{
    QStringList lines;
    bool italic = false;   // the packet itself says the whole cue is italic (timed-text styles)
};

// Reads the payload of one packet of a text subtitle track. Packets come from any file the user
// opens: every length and count in them is checked against the payload.
class CueText
{
public:
    static CueLines Read(CueFormat format, QByteArrayView payload);
};
