#pragma once

#include "subtitles/Subtitle.h"

#include <QStringList>

#include <vector>

// Entries as "start end text" (milliseconds, or frames for a frame-based file), "i " before the
// text of an italic one: a whole reading compared, and printed when it differs, at once.
inline QStringList EntryList(const std::vector<SubtitlePtr>& entries)
{
    QStringList out;
    for (const SubtitlePtr& e : entries) {
        out << QStringLiteral("%1 %2 %3%4")
                   .arg(e->Time1.raw() / Currency::Scale)
                   .arg(e->Time2.raw() / Currency::Scale)
                   .arg(e->Italic ? "i " : "", e->Text);
    }
    return out;
}
