#include "subtitles/SubtitleStore.h"

#include "platform/Prefault.h"

Subtitle* SubtitleStore::add()
{
    if (m_blocks.empty() || m_blocks.back().size() == BlockSize) {
        // Reserved, never grown: entries keep their addresses.
        m_blocks.emplace_back();
        ReservePrefaulted(m_blocks.back(), BlockSize);
    }
    ++m_size;
    return &m_blocks.back().emplace_back();
}

std::vector<SubtitlePtr> SubtitleStore::share(const std::shared_ptr<SubtitleStore>& store)
{
    std::vector<SubtitlePtr> entries;
    ReservePrefaulted(entries, store->m_size);
    for (std::vector<Subtitle>& block : store->m_blocks) {
        for (Subtitle& entry : block)
            entries.emplace_back(store, &entry);
    }
    return entries;
}
