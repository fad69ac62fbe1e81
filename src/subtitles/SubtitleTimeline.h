#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class SubtitleTable;

// An index over the times of a loaded file in order of start, so that the lookup answers in
// logarithmic time what its forward scan would answer. It keeps one value per block of entries,
// not per entry: with ten million entries it stays a few megabytes.
class SubtitleTimeline
{
public:
    SubtitleTimeline() = default;
    explicit SubtitleTimeline(const SubtitleTable& table);

    // The lowest index whose start lies strictly before key; -1 if none.
    int firstStartingBefore(int64_t key) const;
    // The lowest index at or after from that starts after key or ends at or after it, which is
    // where a forward scan for key stops; -1 if none.
    int firstStopAtOrAfter(int from, int64_t key) const;

private:
    static constexpr int BlockSize = 16;
    int64_t stopValue(int index) const;
    int firstStopInBlock(int from, int64_t key) const;

    const SubtitleTable* m_table = nullptr;
    int m_size = 0;
    std::vector<int64_t> m_stopTree;   // max-tree over each block's largest max(start - 1, end)
    std::size_t m_leaves = 0;
};
