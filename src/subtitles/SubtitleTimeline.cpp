#include "subtitles/SubtitleTimeline.h"

#include "subtitles/SubtitleTable.h"

#include <algorithm>
#include <limits>

namespace {
constexpr int64_t Lowest = std::numeric_limits<int64_t>::min();
}

SubtitleTimeline::SubtitleTimeline(const SubtitleTable& table)
    : m_table(&table), m_size(table.size())
{
    const size_t blocks = (static_cast<size_t>(m_size) + BlockSize - 1) / BlockSize;
    m_leaves = 1;
    while (m_leaves < blocks)
        m_leaves *= 2;
    m_stopTree.assign(2 * m_leaves, Lowest);
    for (int i = 0; i < m_size; ++i) {
        int64_t& leaf = m_stopTree[m_leaves + static_cast<size_t>(i / BlockSize)];
        leaf = std::max(leaf, stopValue(i));
    }
    for (size_t node = m_leaves - 1; node >= 1; --node)
        m_stopTree[node] = std::max(m_stopTree[2 * node], m_stopTree[2 * node + 1]);
}

int64_t SubtitleTimeline::stopValue(int index) const
{
    // "starts after key" is "start - 1 >= key" for whole fixed-point values.
    const int64_t start = m_table->start(index);
    return std::max(start == Lowest ? Lowest : start - 1, m_table->end(index));
}

int SubtitleTimeline::firstStartingBefore(int64_t key) const
{
    // In order of start, the first entry has the earliest start.
    return m_size > 0 && m_table->start(0) < key ? 0 : -1;
}

int SubtitleTimeline::firstStopInBlock(int from, int64_t key) const
{
    const int blockEnd = std::min(m_size, (from / BlockSize + 1) * BlockSize);
    for (int i = from; i < blockEnd; ++i) {
        if (stopValue(i) >= key)
            return i;
    }
    return -1;
}

int SubtitleTimeline::firstStopAtOrAfter(int from, int64_t key) const
{
    if (from < 0 || from >= m_size)
        return -1;
    if (const int inFirst = firstStopInBlock(from, key); inFirst >= 0)
        return inFirst;
    size_t node = m_leaves + static_cast<size_t>(from / BlockSize);
    // Climb until a subtree to the right of the start block holds a stop, then descend into it.
    do {
        while (node & 1)
            node >>= 1;
        if (node == 0)
            return -1;
        ++node;
    } while (m_stopTree[node] < key);
    while (node < m_leaves) {
        node *= 2;
        if (m_stopTree[node] < key)
            ++node;
    }
    const size_t block = node - m_leaves;
    return block * BlockSize < static_cast<size_t>(m_size)
        ? firstStopInBlock(static_cast<int>(block * BlockSize), key) : -1;
}
