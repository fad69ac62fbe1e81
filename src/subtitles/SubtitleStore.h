#pragma once

#include "subtitles/Subtitle.h"

#include <memory>
#include <vector>

// Holds the entries of one file in large blocks, so that loading 100,000 of them costs a few
// hundred allocations instead of 100,000. Entries never move once added.
class SubtitleStore
{
public:
    Subtitle* add();
    size_t size() const { return m_size; }

    // A shared pointer to every entry, in order. Each one is a distinct entry (identity is kept)
    // and all of them share ownership of the store, which lives while any entry is held.
    static std::vector<SubtitlePtr> share(const std::shared_ptr<SubtitleStore>& store);

private:
    static constexpr size_t BlockSize = 1024;
    std::vector<std::vector<Subtitle>> m_blocks;
    size_t m_size = 0;
};
