#pragma once

#include "subtitles/IconvDecoder.h"
#include "subtitles/LineSplitter.h"
#include "subtitles/TextDecoder.h"

#include <QByteArrayView>
#include <QString>

#include <vector>

// Turns the byte lines of a UTF-8, single-byte or multi-byte text into text lines, one reused
// buffer for all of them; fed in pieces, so a file need not be in memory whole.
class LineDecoder
{
public:
    // table and iconv null: UTF-8.
    LineDecoder(qsizetype lineLimit, const SingleByteTable* table, const LineHandler& onLine,
                IconvLineDecoder* iconv = nullptr)
        // Up to four bytes a character may be needed to fill a line of lineLimit characters.
        : m_splitter(table ? lineLimit : lineLimit * 4), m_table(table), m_iconv(iconv),
          m_onLine(onLine), m_narrowLine(static_cast<size_t>(table ? lineLimit : lineLimit * 4))
    {}

    void feed(QByteArrayView piece)
    {
        m_splitter.feed(piece.data(), piece.size(),
                        [this](const char* line, qsizetype length) { decode(line, length); });
    }
    void finish()
    {
        m_splitter.finish([this](const char* line, qsizetype length) { decode(line, length); });
    }

private:
    void decode(const char* line, qsizetype length);

    ByteLineSplitter m_splitter;
    const SingleByteTable* m_table;
    IconvLineDecoder* m_iconv;
    const LineHandler& m_onLine;
    QString m_buffer;
    // A line of one byte a character (ASCII or a single-byte code page): never longer than the
    // longest line the splitter hands over, so sized once.
    std::vector<char16_t> m_narrowLine;
};
