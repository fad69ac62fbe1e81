#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The start and end times of a loaded file's entries (raw fixed-point values, file order), with
// two indexes that let the lookup answer in logarithmic time what a scan from the first entry
// would answer. The times are taken once when the file is loaded.
class SubtitleTimeline
{
public:
    SubtitleTimeline() = default;
    SubtitleTimeline(std::vector<int64_t> starts, std::vector<int64_t> ends);

    int size() const { return static_cast<int>(m_starts.size()); }
    int64_t start(int index) const { return m_starts[static_cast<std::size_t>(index)]; }
    int64_t end(int index) const { return m_ends[static_cast<std::size_t>(index)]; }

    // The lowest index whose start lies strictly before key; -1 if none.
    int firstStartingBefore(int64_t key) const;
    // The lowest index at or after from that starts after key or ends at or after it, which is
    // where a forward scan for key stops; -1 if none.
    int firstStopAtOrAfter(int from, int64_t key) const;

private:
    std::vector<int64_t> m_starts;
    std::vector<int64_t> m_ends;
    std::vector<int64_t> m_prefixMinStart;   // non-increasing, so it can be bisected
    std::vector<int64_t> m_stopTree;         // max-tree over max(start - 1, end), leaves at m_leaves
    std::size_t m_leaves = 0;
};
