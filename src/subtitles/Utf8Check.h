#pragma once

#include <QByteArrayView>

// How many bytes from the start are ASCII.
qsizetype AsciiPrefixLength(const char* data, qsizetype size);

// One pass; true for empty and pure ASCII input. Overlong forms, surrogates and code points
// beyond U+10FFFF are invalid.
bool IsValidUtf8(const char* data, qsizetype size);

// IsValidUtf8 over bytes that arrive in pieces: a sequence cut by the end of a piece is held
// back and checked once the next piece completes it.
class Utf8Check
{
public:
    void feed(QByteArrayView piece);
    bool valid() const { return m_valid && m_heldSize == 0; }
    // Invalid bytes were met; a sequence still waiting for its next piece is not a failure.
    bool failed() const { return !m_valid; }

private:
    bool m_valid = true;
    char m_held[4] = {};
    qsizetype m_heldSize = 0;
};
