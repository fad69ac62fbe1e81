#include "subtitles/LineDecoder.h"

#include <QStringDecoder>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

// Widens an ASCII line into out, which has room for length characters; false at the first byte
// above 0x7F. Nearly every line of a file is ASCII: checked and widened in one pass.
bool widenAscii(const char* line, qsizetype length, char16_t* out)
{
    qsizetype i = 0;
#ifdef __SSE2__
    const __m128i zero = _mm_setzero_si128();
    for (; i + 16 <= length; i += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(line + i));
        if (_mm_movemask_epi8(bytes) != 0)
            return false;
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_unpacklo_epi8(bytes, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i + 8), _mm_unpackhi_epi8(bytes, zero));
    }
#endif
    for (; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(line[i]);
        if (byte >= 0x80)
            return false;
        out[i] = byte;
    }
    return true;
}

} // namespace

void LineDecoder::decode(const char* line, qsizetype length)
{
    // The splitter hands over no line longer than the one-byte buffer.
    Q_ASSERT(static_cast<size_t>(length) <= m_narrowLine.size());
    if (m_iconv) {
        m_buffer = m_iconv->decode(QByteArray::fromRawData(line, length));
        m_onLine(m_buffer);
    } else if (m_table) {
        char16_t* out = m_narrowLine.data();
        for (qsizetype i = 0; i < length; ++i)
            out[i] = (*m_table)[static_cast<unsigned char>(line[i])];
        m_onLine(QStringView(out, length));
    } else if (widenAscii(line, length, m_narrowLine.data())) {
        m_onLine(QStringView(m_narrowLine.data(), length));
    } else {
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        m_buffer.resize(decoder.requiredSpace(length));
        const QChar* end = decoder.appendToBuffer(m_buffer.data(), QByteArrayView(line, length));
        m_onLine(QStringView(m_buffer.constData(), end));
    }
}
