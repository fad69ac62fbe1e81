#pragma once

#include <QtGlobal>

#include <cstring>

// Calls handle(first, length) for every line of a text of bytes or UTF-16 units. CR LF is the
// usual end of a line; a lone LF or a lone CR ends one too (files edited on several systems
// have all three). A final line without an end counts; an end at the very end adds no line.
template <typename Char, typename Handler>
void SplitLines(const Char* data, qsizetype size, Handler&& handle)
{
    qsizetype start = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const Char c = data[i];
        if (c != Char('\n') && c != Char('\r'))
            continue;
        handle(data + start, i - start);
        if (c == Char('\r') && i + 1 < size && data[i + 1] == Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < size)
        handle(data + start, size - start);
}

// The same for bytes, with the C library's vectorised search: most of a file's time is here.
template <typename Handler>
void SplitLines(const char* data, qsizetype size, Handler&& handle)
{
    const char* start = data;
    const char* const end = data + size;
    while (start < end) {
        const auto* lf = static_cast<const char*>(std::memchr(start, '\n', end - start));
        const char* lineEnd = lf ? lf : end;
        const auto* cr = static_cast<const char*>(std::memchr(start, '\r', lineEnd - start));
        if (cr) {
            handle(start, cr - start);
            start = cr + 1 == lf ? lf + 1 : cr + 1;
        } else {
            handle(start, lineEnd - start);
            start = lineEnd + 1;
        }
    }
}
