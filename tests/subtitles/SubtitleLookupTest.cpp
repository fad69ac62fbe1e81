#include "subtitles/SubtitleReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

Currency at(double value) { return *Currency::fromDouble(value); }

QByteArray srtOf(const std::vector<std::pair<int, int>>& times)
{
    QByteArray text;
    auto stamp = [](int ms) {
        return QString::asprintf("%02d:%02d:%02d,%03d", ms / 3600000, ms / 60000 % 60,
                                    ms / 1000 % 60, ms % 1000).toLatin1();
    };
    for (const auto& [start, end] : times)
        text += stamp(start) + " --> " + stamp(end) + "\r\nx\r\n\r\n";
    return text;
}

// Index (1-based) of what the lookup returned, 0 for nothing; -1 when the object returned is
// not the entry the reader's current index points at.
int shown(SubtitleReader& reader, Currency time, int32_t frus = 0)
{
    const SubtitlePtr entry = reader.GetSubtitle(time, frus);
    if (!entry)
        return 0;
    return reader.Entry(reader.CurrentIndex()) == entry ? reader.CurrentIndex() : -1;
}

// The lookup as a plain scan from the first entry, to hold the indexed one to.
struct ScanLookup
{
    std::vector<std::pair<int64_t, int64_t>> times;
    int current = 0;

    int find(int64_t key)
    {
        const int n = static_cast<int>(times.size());
        auto t1 = [&](int i) { return times[static_cast<size_t>(i - 1)].first; };
        auto t2 = [&](int i) { return times[static_cast<size_t>(i - 1)].second; };
        if (current > 0 && t1(current) <= key && key <= t2(current))
            return current;
        if (current <= 0 || key < t1(current)) {
            current = 0;
            for (int i = 1; i <= n && current == 0; ++i)
                if (t1(i) < key)
                    current = i;
        }
        if (current <= 0)
            return 0;
        for (int i = current; i <= n; ++i) {
            current = i;
            if (key < t1(i))
                return 0;
            if (key <= t2(i))
                return i;
        }
        current = 0;
        return 0;
    }
};

} // namespace

// Gaps, bounds, overlaps and the cached index are held to a plain scan below.
TEST(SubtitleLookup, NothingLoadedDelayAndFrameRateOverride)
{
    SubtitleReader reader;
    EXPECT_EQ(shown(reader, at(1500)), 0);
    // In sequence on one reader: the delay (ms), the frame rate override, the key (ms), the
    // video's frame duration (microseconds) and the entry shown.
    struct Case { int32_t delay; double fps; int key; int32_t frus; int entry; };
    const Case srt[] = {
        {500, 0, 2000, 0, 1}, {500, 0, 2500, 0, 1}, {500, 0, 2600, 0, 0},
        // Made for 25 frames per second, played on a 23.976 video: the video is slower, so its
        // 4170 ms is the file's 4000 ms. Scaled once, not twice.
        {0, 25, 4170, 41708, 2}, {0, 25, 4172, 41708, 0},
        // Same rate as the video: unchanged. Unknown video rate: the override is skipped.
        {0, 25, 4000, 40000, 2}, {0, 25, 4170, 0, 0}, {0, 25, 4000, 0, 2},
    };
    // A delay of 1000 ms is 25 frames of 40,000 microseconds.
    const Case frames[] = {
        {1000, 0, 125, 40000, 0},      // frame 100 exactly: not yet
        {1000, 0, 126, 40000, 1}, {1000, 0, 226, 40000, 0},
        {1000, 0, 150, 0, 1},          // no frame rate: no delay in frames
        {2147484, 0, 150, 40000, 1},   // times 1000 leaves 32 bits: the delay step is skipped
        {0, 25, 400, 40000, 2}, {0, 25, 401, 40000, 0},
        // Frame numbers scale by the video's rate over the override.
        {0, 50, 700, 40000, 2}, {0, 50, 180, 40000, 0},
    };
    const auto check = [&](const Case& c) {
        reader.delay = c.delay;
        reader.FPS = c.fps;
        EXPECT_EQ(shown(reader, at(c.key), c.frus), c.entry)
            << "delay " << c.delay << ", override " << c.fps << ", at " << c.key;
    };
    ASSERT_TRUE(reader.LoadBytes(srtOf({{1000, 2000}, {3000, 4000}}), "a.srt"));
    std::ranges::for_each(srt, check);
    ASSERT_TRUE(reader.LoadBytes("{100}{200}a\r\n{300}{400}b\r\n", "a.sub"));
    std::ranges::for_each(frames, check);
}

TEST(SubtitleLookup, AnswersAsAScanFromTheFirstEntryWould)
{
    std::mt19937 random(20261206);
    for (int file = 0; file < 40; ++file) {
        // Sorted, overlapping, shuffled and reversed entries, and entries ending before they
        // start.
        std::vector<std::pair<int, int>> times;
        const int n = 2 + static_cast<int>(random() % 60);
        int clock = 0;
        for (int i = 0; i < n; ++i) {
            clock += static_cast<int>(random() % 3000);
            const int length = static_cast<int>(random() % 4000) - (file % 5 == 0 ? 500 : 0);
            times.emplace_back(clock, clock + length);
        }
        if (file % 3 == 1)
            std::shuffle(times.begin(), times.end(), random);
        SubtitleReader reader;
        ASSERT_TRUE(reader.LoadBytes(srtOf(times), "r.srt"));
        // The reader orders the entries by start, equal starts in file order; the scan then runs
        // on that order exactly as on a file written in order.
        std::stable_sort(times.begin(), times.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        ScanLookup scan;
        for (const auto& [a, b] : times)
            scan.times.emplace_back(int64_t{a} * Currency::Scale, int64_t{b} * Currency::Scale);
        for (int step = 0; step < 400; ++step) {
            // Mostly playback, sometimes a jump anywhere, sometimes on or just past a start or
            // an end.
            int64_t key = 0;
            const unsigned kind = random() % 10;
            if (kind < 6) {
                key = step * 25 * Currency::Scale * (clock / 10000 + 1);
            } else if (kind < 8) {
                const auto range = static_cast<unsigned>(clock + 5000);
                key = static_cast<int64_t>(random() % range) * Currency::Scale;
            } else {
                const auto& [start, end] = scan.times[random() % scan.times.size()];
                key = (kind == 8 ? start : end) + static_cast<int64_t>(random() % 2);
            }
            const int expected = scan.find(key);
            ASSERT_EQ(shown(reader, Currency::fromRaw(key)), expected)
                << "file " << file << " step " << step;
            ASSERT_EQ(reader.CurrentIndex(), scan.current);
        }
    }
}
