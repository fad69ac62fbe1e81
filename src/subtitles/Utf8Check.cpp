#include "subtitles/Utf8Check.h"

#include <cstdint>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

qsizetype sequenceLength(unsigned char lead)
{
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 1;   // ASCII, or a byte no sequence may start with (the check rejects it)
}

} // namespace

qsizetype AsciiPrefixLength(const char* data, qsizetype size)
{
    // ASCII runs are the bulk of subtitle text, and every byte of a file passes here.
    qsizetype i = 0;
#ifdef __SSE2__
    auto load = [data](qsizetype at) {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at));
    };
    for (; i + 64 <= size; i += 64) {
        const __m128i any = _mm_or_si128(_mm_or_si128(load(i), load(i + 16)),
                                         _mm_or_si128(load(i + 32), load(i + 48)));
        if (_mm_movemask_epi8(any) != 0)
            break;
    }
    for (; i + 16 <= size; i += 16) {
        if (_mm_movemask_epi8(load(i)) != 0)
            break;
    }
#endif
    for (; i + 8 <= size; i += 8) {
        uint64_t word;
        std::memcpy(&word, data + i, 8);
        if (word & 0x8080808080808080ULL)
            break;
    }
    while (i < size && static_cast<unsigned char>(data[i]) < 0x80)
        ++i;
    return i;
}

bool IsValidUtf8(const char* data, qsizetype size)
{
    const auto* p = reinterpret_cast<const unsigned char*>(data);
    const auto* end = p + size;
    while (p < end) {
        p += AsciiPrefixLength(reinterpret_cast<const char*>(p), end - p);
        if (p >= end)
            break;
        const unsigned char lead = *p;
        int length;
        unsigned char low = 0x80, high = 0xBF;   // allowed range of the first continuation byte
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0) low = 0xA0;        // no overlong forms
            if (lead == 0xED) high = 0x9F;       // no surrogates
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0) low = 0x90;
            if (lead == 0xF4) high = 0x8F;       // nothing above U+10FFFF
        } else {
            return false;
        }
        if (end - p < length || p[1] < low || p[1] > high)
            return false;
        for (int i = 2; i < length; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                return false;
        }
        p += length;
    }
    return true;
}

void Utf8Check::feed(QByteArrayView piece)
{
    const char* data = piece.data();
    qsizetype size = piece.size();
    while (m_valid && m_heldSize > 0 && size > 0) {
        m_held[m_heldSize++] = *data++;
        --size;
        if (m_heldSize == sequenceLength(static_cast<unsigned char>(m_held[0]))) {
            m_valid = IsValidUtf8(m_held, m_heldSize);
            m_heldSize = 0;
        }
    }
    if (!m_valid || size == 0)
        return;
    qsizetype whole = size;
    for (qsizetype back = 1; back <= 3 && back <= size; ++back) {
        const auto byte = static_cast<unsigned char>(data[size - back]);
        if ((byte & 0xC0) == 0x80)
            continue;   // a continuation byte: look further back for its lead
        if (sequenceLength(byte) > back)
            whole = size - back;
        break;
    }
    m_valid = IsValidUtf8(data, whole);
    for (qsizetype i = whole; i < size; ++i)
        m_held[m_heldSize++] = data[i];
}
