#include "subtitles/SubtitleStore.h"

#include "platform/Prefault.h"

Subtitle* SubtitleStore::add()
{
    if (m_size % BlockSize == 0)
        m_blocks.push_back(std::make_unique<Subtitle[]>(BlockSize));
    Subtitle* entry = &m_blocks.back()[m_size % BlockSize];
    ++m_size;
    return entry;
}

std::vector<SubtitlePtr> SubtitleStore::share(const std::shared_ptr<SubtitleStore>& store)
{
    std::vector<SubtitlePtr> entries;
    ReservePrefaulted(entries, store->m_size);
    for (size_t i = 0; i < store->m_size; ++i)
        entries.emplace_back(store, &store->m_blocks[i / BlockSize][i % BlockSize]);
    return entries;
}
