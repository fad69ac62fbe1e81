// The lookup half of SubtitleReader: which entry to show at a playback position.
#include "subtitles/SubtitleReader.h"

namespace {
// While playing, the next stop is almost always one or two entries on; look there before
// asking the index.
constexpr int ShortScan = 4;
}

Currency SubtitleReader::lookupKey(Currency time, int32_t videoFrus) const
{
    // Each step that cannot be computed (no frame rate, a value out of range) is skipped and the
    // key keeps the value it had.
    Currency key = time;
    if (Frames) {
        int32_t delayTimes1000 = 0;
        if (videoFrus != 0 && !__builtin_mul_overflow(delay, 1000, &delayTimes1000)) {
            const std::optional<Currency> frames =
                Currency::fromDouble(static_cast<double>(delayTimes1000) / videoFrus);
            if (frames)
                key = key.minus(*frames).value_or(key);
        }
    } else if (const std::optional<Currency> ms = Currency::fromInteger(delay)) {
        key = key.minus(*ms).value_or(key);
    }

    if (FPS > 0 && videoFrus != 0) {
        // Subtitles made for FPS frames per second, played against a video of videoRate: both
        // forms scale by videoRate / FPS once, so the key is unchanged when the rates agree.
        std::optional<Currency> scaled;
        if (Frames) {
            if (const std::optional<Currency> product = key.times(1000000))
                scaled = Currency::fromDouble(product->toDouble() / (videoFrus * FPS));
        } else {
            const double videoRate = 1000000.0 / videoFrus;
            scaled = Currency::fromDouble(key.toDouble() * videoRate / FPS);
        }
        key = scaled.value_or(key);
    }
    if (Rate > 0 && Rate != 1.0)
        key = Currency::fromDouble(key.toDouble() * Rate).value_or(key);
    return key;
}

SubtitlePtr SubtitleReader::GetSubtitle(Currency Time, int32_t VideoFRUS)
{
    const Currency key = lookupKey(Time, VideoFRUS);
    const int n = m_table.size();
    if (n == 0)
        return nullptr;
    const int64_t k = key.raw();
    auto covers = [&](int i) { return m_table.start(i) <= k && k <= m_table.end(i); };

    if (m_currentIndex > 0 && covers(m_currentIndex - 1))
        return Entry(m_currentIndex);
    if (m_currentIndex <= 0 || k < m_table.start(m_currentIndex - 1))
        m_currentIndex = m_timeline.firstStartingBefore(k) + 1;
    if (m_currentIndex <= 0)
        return nullptr;

    // Walk forward to the first entry that starts after the key or still covers it.
    int stop = -1;
    for (int i = m_currentIndex - 1; i < n && i < m_currentIndex - 1 + ShortScan; ++i) {
        if (k < m_table.start(i) || k <= m_table.end(i)) {
            stop = i;
            break;
        }
    }
    if (stop < 0 && m_currentIndex - 1 + ShortScan < n)
        stop = m_timeline.firstStopAtOrAfter(m_currentIndex - 1 + ShortScan, k);
    if (stop < 0) {
        m_currentIndex = 0;
        return nullptr;
    }
    m_currentIndex = stop + 1;
    if (k < m_table.start(stop))
        return nullptr;
    return Entry(stop + 1);
}
