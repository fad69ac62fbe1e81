#pragma once

#include "platform/TextLines.h"

#include <QByteArray>
#include <QtGlobal>

#include <cstring>

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
            // The C library's vectorised search: most of a file's time is spent here.
            const auto* lf = static_cast<const char*>(std::memchr(p, '\n', end - p));
            const char* lineEnd = lf ? lf : end;
            const auto* cr = static_cast<const char*>(std::memchr(p, '\r', lineEnd - p));
            if (!cr && !lf) {
                keep(p, end - p);
                return;
            }
            deliver(p, (cr ? cr : lf) - p, handle);
            if (!cr) {
                p = lf + 1;
            } else if (cr + 1 == end) {
                m_afterCarriageReturn = true;
                p = end;
            } else {
                p = cr[1] == '\n' ? cr + 2 : cr + 1;
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
