#include "subtitles/SubtitleTimeline.h"

#include "platform/Prefault.h"

#include <algorithm>
#include <limits>

namespace {
constexpr int64_t Lowest = std::numeric_limits<int64_t>::min();
}

SubtitleTimeline::SubtitleTimeline(std::vector<int64_t> starts, std::vector<int64_t> ends)
    : m_starts(std::move(starts)), m_ends(std::move(ends))
{
    const size_t n = m_starts.size();
    ReservePrefaulted(m_prefixMinStart, n);
    m_prefixMinStart.resize(n);
    for (size_t i = 0; i < n; ++i)
        m_prefixMinStart[i] = i == 0 ? m_starts[0] : std::min(m_prefixMinStart[i - 1], m_starts[i]);

    m_leaves = 1;
    while (m_leaves < n)
        m_leaves *= 2;
    ReservePrefaulted(m_stopTree, 2 * m_leaves);
    m_stopTree.assign(2 * m_leaves, Lowest);
    for (size_t i = 0; i < n; ++i) {
        // "starts after key" is "start - 1 >= key" for whole fixed-point values.
        const int64_t startMinusOne = m_starts[i] == Lowest ? Lowest : m_starts[i] - 1;
        m_stopTree[m_leaves + i] = std::max(startMinusOne, m_ends[i]);
    }
    for (size_t node = m_leaves - 1; node >= 1; --node)
        m_stopTree[node] = std::max(m_stopTree[2 * node], m_stopTree[2 * node + 1]);
}

int SubtitleTimeline::firstStartingBefore(int64_t key) const
{
    const auto it = std::partition_point(m_prefixMinStart.begin(), m_prefixMinStart.end(),
                                         [key](int64_t minStart) { return minStart >= key; });
    return it == m_prefixMinStart.end() ? -1 : static_cast<int>(it - m_prefixMinStart.begin());
}

int SubtitleTimeline::firstStopAtOrAfter(int from, int64_t key) const
{
    if (from < 0 || from >= size())
        return -1;
    size_t node = m_leaves + static_cast<size_t>(from);
    // Climb until a subtree to the right of the start holds a stop, then descend into it.
    while (m_stopTree[node] < key) {
        while (node & 1)
            node >>= 1;
        if (node == 0)
            return -1;
        ++node;
    }
    while (node < m_leaves) {
        node *= 2;
        if (m_stopTree[node] < key)
            ++node;
    }
    const size_t index = node - m_leaves;
    return index < m_starts.size() ? static_cast<int>(index) : -1;
}
