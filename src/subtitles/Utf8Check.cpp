#include "subtitles/Utf8Check.h"

#include <cstdint>
#include <cstring>

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

bool IsValidUtf8(const char* data, qsizetype size)
{
    const auto* p = reinterpret_cast<const unsigned char*>(data);
    const auto* end = p + size;
    while (p < end) {
        // ASCII runs are the bulk of subtitle text: take them eight bytes at a time.
        while (end - p >= 8) {
            uint64_t word;
            std::memcpy(&word, p, 8);
            if (word & 0x8080808080808080ULL)
                break;
            p += 8;
        }
        if (p >= end)
            break;
        const unsigned char lead = *p;
        if (lead < 0x80) {
            ++p;
            continue;
        }
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
