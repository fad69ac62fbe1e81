#include "tracks/CueCollector.h"

#include "subtitles/SubtitleLine.h"

#include <algorithm>
#include <utility>

namespace {

Currency milliseconds(int64_t value)
{
    return Currency::fromInteger(value).value_or(Currency());
}

} // namespace

void CueCollector::Add(int64_t start, int64_t duration, const CueLines& cue)
{
    const bool hasText = std::any_of(cue.lines.begin(), cue.lines.end(),
                                     [](const QString& line) { return !line.isEmpty(); });
    if (m_last && m_lastOpen) {
        m_last->Time2 = milliseconds(std::max(m_lastStart, start));
        m_lastOpen = false;
    }
    if (!hasText)
        return;
    const bool open = duration <= 0;
    Subtitle* entry = nullptr;
    if (m_last && !open && start == m_lastStart && duration == m_lastDuration) {
        entry = m_last;
    } else {
        entry = m_store->add();
        entry->Time1 = milliseconds(start);
        entry->Time2 = milliseconds(open ? start + OpenCueMilliseconds : start + duration);
        m_last = entry;
        m_lastStart = start;
        m_lastDuration = duration;
        m_lastOpen = open;
    }
    if (cue.italic)
        entry->Italic = true;
    // Empty lines are refused and leave the entry as it is.
    for (const QString& line : cue.lines)
        entry->AddText(CutToLineLimit(line));
}

std::shared_ptr<SubtitleStore> CueCollector::Finish()
{
    m_last = nullptr;
    m_lastOpen = false;
    return std::exchange(m_store, std::make_shared<SubtitleStore>());
}

std::shared_ptr<SubtitleStore> CueCollector::Snapshot() const
{
    auto copy = std::make_shared<SubtitleStore>();
    for (const SubtitlePtr& entry : SubtitleStore::share(m_store))
        *copy->add() = *entry;
    return copy;
}
