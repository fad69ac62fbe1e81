#include "mediagen/FrameCounter.h"

#include <algorithm>
#include <array>

namespace {

// Segments a to g as bits 0 to 6, digits 0 to 9.
constexpr std::array<uint8_t, 10> kSegments = {0x3F, 0x06, 0x5B, 0x4F, 0x66,
                                               0x6D, 0x7D, 0x07, 0x7F, 0x6F};

struct Rect {
    int x, y, width, height;
};

// Where the counter goes: sizes follow the frame height so it stays legible when scaled.
struct CounterLayout {
    int digits, digitWidth, digitHeight, stroke, gap, margin;

    explicit CounterLayout(const TestVideoFormat& format)
    {
        digits = 1;
        for (int last = std::max(0, format.frames - 1); last >= 10; last /= 10)
            ++digits;
        digitHeight = std::max(10, format.height / 8);
        digitWidth = digitHeight / 2;
        stroke = std::max(2, digitHeight / 8);
        gap = stroke * 2;
        margin = std::max(2, format.height / 40);
    }
    Rect panel() const
    {
        return {margin, margin, digits * (digitWidth + gap) + gap, digitHeight + 2 * gap};
    }
    // Segment s of digit d (0 is the leftmost).
    Rect segment(int d, int s) const
    {
        const int left = margin + gap + d * (digitWidth + gap);
        const int top = margin + gap;
        const int middle = top + (digitHeight - stroke) / 2;
        const int upper = middle + stroke - top;
        const int lower = top + digitHeight - middle;
        switch (s) {
        case 0: return {left, top, digitWidth, stroke};
        case 1: return {left + digitWidth - stroke, top, stroke, upper};
        case 2: return {left + digitWidth - stroke, middle, stroke, lower};
        case 3: return {left, top + digitHeight - stroke, digitWidth, stroke};
        case 4: return {left, middle, stroke, lower};
        case 5: return {left, top, stroke, upper};
        default: return {left, middle, digitWidth, stroke};
        }
    }
    bool fits(const TestVideoFormat& format) const
    {
        const Rect p = panel();
        return p.x + p.width <= format.width && p.y + p.height <= format.height;
    }
};

void fill(QByteArray& frame, int frameWidth, const Rect& r, uint8_t value)
{
    for (int y = r.y; y < r.y + r.height; ++y)
        std::fill_n(frame.data() + (qsizetype(y) * frameWidth + r.x) * 3, r.width * 3,
                    char(value));
}

// The middle of a segment, where neither a neighbour nor the panel reaches.
uint8_t sample(const QByteArray& frame, int frameWidth, const Rect& r)
{
    const qsizetype at = (qsizetype(r.y + r.height / 2) * frameWidth + r.x + r.width / 2) * 3;
    return uint8_t(frame[at + 1]);
}

}  // namespace

void DrawFrameCounter(QByteArray& frame, const TestVideoFormat& format, int number)
{
    const CounterLayout layout(format);
    if (!layout.fits(format) || frame.size() < qsizetype(format.width) * format.height * 3)
        return;
    fill(frame, format.width, layout.panel(), 0);
    int rest = std::max(0, number);
    for (int d = layout.digits - 1; d >= 0; --d, rest /= 10) {
        const uint8_t lit = kSegments[rest % 10];
        for (int s = 0; s < 7; ++s) {
            if (lit & (1 << s))
                fill(frame, format.width, layout.segment(d, s), 255);
        }
    }
}

int ReadTestVideoFrameCounter(const TestVideoFormat& format, const QByteArray& frame)
{
    const CounterLayout layout(format);
    if (!format.frameCounter || !layout.fits(format)
        || frame.size() < qsizetype(format.width) * format.height * 3)
        return -1;
    int number = 0;
    for (int d = 0; d < layout.digits; ++d) {
        uint8_t lit = 0;
        for (int s = 0; s < 7; ++s) {
            const uint8_t value = sample(frame, format.width, layout.segment(d, s));
            if (value > 200)
                lit |= uint8_t(1 << s);
            else if (value > 50)
                return -1;
        }
        const auto found = std::find(kSegments.begin(), kSegments.end(), lit);
        if (found == kSegments.end())
            return -1;
        number = number * 10 + int(found - kSegments.begin());
    }
    return number;
}
