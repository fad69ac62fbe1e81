#pragma once

#include <QStringView>
#include <QtGlobal>

// The one line splitter and the one trim of the program: subtitle files, the INI file and
// anything else read as lines share the same idea of a line and of a blank.

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

inline bool IsBlank(QChar c) { return c == u' ' || c == u'\t'; }

// The text without the spaces and tabs at either end (line ends and other white space stay).
inline QStringView TrimBlanks(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin);
}
