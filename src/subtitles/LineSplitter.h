#pragma once

#include "platform/TextLines.h"

#include <QByteArray>
#include <QtGlobal>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

// Splits bytes that arrive in pieces into lines, with the same line ends as SplitLines. A line
// longer than maxLength bytes is handed over cut to maxLength, the rest skipped, so what is kept
// of a line stays bounded however long it is.
class ByteLineSplitter
{
public:
    explicit ByteLineSplitter(qsizetype maxLength) : m_maxLength(maxLength) {}

    template <typename Handler>
    void feed(const char* data, qsizetype size, Handler&& handle)
    {
        const char* p = data;
        const char* const end = data + size;
        if (m_afterCarriageReturn && p < end) {
            // A CR ended the previous piece: an LF opening this one belongs to it.
            if (*p == '\n')
                ++p;
            m_afterCarriageReturn = false;
        }
        while (p < end) {
            const char* lineEnd = findLineEnd(p, end);
            if (lineEnd == end) {
                keep(p, end - p);
                return;
            }
            deliver(p, lineEnd - p, handle);
            if (*lineEnd == '\n') {
                p = lineEnd + 1;
            } else if (lineEnd + 1 == end) {
                m_afterCarriageReturn = true;
                p = end;
            } else {
                p = lineEnd[1] == '\n' ? lineEnd + 2 : lineEnd + 1;
            }
        }
    }

    // The last line, when the bytes did not end with a line end.
    template <typename Handler>
    void finish(Handler&& handle)
    {
        if (!m_partial.isEmpty())
            handle(m_partial.constData(), m_partial.size());
        m_partial.clear();
    }

private:
    // The first CR or LF from p on, or end. Every byte of a file passes here: sixteen at a time.
    static const char* findLineEnd(const char* p, const char* end)
    {
#ifdef __SSE2__
        const __m128i lf = _mm_set1_epi8('\n'), cr = _mm_set1_epi8('\r');
        for (; end - p >= 16; p += 16) {
            const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            const int ends = _mm_movemask_epi8(
                _mm_or_si128(_mm_cmpeq_epi8(chunk, lf), _mm_cmpeq_epi8(chunk, cr)));
            if (ends != 0)
                return p + __builtin_ctz(static_cast<unsigned>(ends));
        }
#endif
        while (p < end && *p != '\n' && *p != '\r')
            ++p;
        return p;
    }

    void keep(const char* data, qsizetype size)
    {
        m_partial.append(data, qMin(size, m_maxLength - m_partial.size()));
    }

    template <typename Handler>
    void deliver(const char* data, qsizetype size, Handler&& handle)
    {
        if (m_partial.isEmpty()) {
            handle(data, qMin(size, m_maxLength));
            return;
        }
        keep(data, size);
        handle(m_partial.constData(), m_partial.size());
        m_partial.clear();
    }

    const qsizetype m_maxLength;
    QByteArray m_partial;            // the start of a line that goes on in the next piece
    bool m_afterCarriageReturn = false;
};
