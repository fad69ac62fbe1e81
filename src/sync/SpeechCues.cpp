#include "sync/SpeechCues.h"

#include "subtitles/SubtitleReader.h"

namespace {
bool describesSound(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return true;
    if ((t.startsWith(u'[') && t.endsWith(u']')) || (t.startsWith(u'(') && t.endsWith(u')')))
        return true;
    // Only notes, hashes and blanks: a song's marker without its words.
    for (QChar c : t)
        if (!c.isSpace() && c != QChar(0x266A) && c != QChar(0x266B) && c != u'#')
            return false;
    return true;
}
}

std::vector<SpeechCue> SpeechCuesOf(const SubtitleReader& reader, int32_t videoFrus)
{
    std::vector<SpeechCue> cues;
    if (reader.Frames && videoFrus <= 0)
        return cues;
    const double unitMs = reader.Frames ? videoFrus / 1000.0 : 1.0;
    for (const SubtitlePtr& entry : reader.Entries()) {
        if (describesSound(entry->Text))
            continue;
        const double start = entry->Time1.toDouble() * unitMs;
        const double end = entry->Time2.toDouble() * unitMs;
        if (end > start && start >= 0)
            cues.push_back({start, end});
    }
    return cues;
}
