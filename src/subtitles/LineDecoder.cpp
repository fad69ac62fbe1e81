#include "subtitles/LineDecoder.h"

#include "subtitles/Utf8Check.h"

#include <QStringDecoder>

void LineDecoder::decode(const char* line, qsizetype length)
{
    if (m_iconv) {
        m_buffer = m_iconv->decode(QByteArray::fromRawData(line, length));
        m_onLine(m_buffer);
    } else if (m_table) {
        m_buffer.resize(length);
        char16_t* out = reinterpret_cast<char16_t*>(m_buffer.data());
        for (qsizetype i = 0; i < length; ++i)
            out[i] = (*m_table)[static_cast<unsigned char>(line[i])];
        m_onLine(m_buffer);
    } else if (AsciiPrefixLength(line, length) == length) {
        // Assigning Latin-1 reuses the buffer's storage and widens with vector instructions.
        m_buffer = QLatin1StringView(line, length);
        m_onLine(m_buffer);
    } else {
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        m_buffer.resize(decoder.requiredSpace(length));
        const QChar* end = decoder.appendToBuffer(m_buffer.data(), QByteArrayView(line, length));
        m_onLine(QStringView(m_buffer.constData(), end));
    }
}
