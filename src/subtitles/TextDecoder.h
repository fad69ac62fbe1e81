#pragma once

#include <QByteArray>
#include <QString>

// Subtitle files come in whatever encoding their author's system used. A byte-order mark decides
// first; then text that is valid UTF-8 is UTF-8; anything else is decoded from the code page that
// detection names (Windows-1252 when it names none). Bytes that do not decode become U+FFFD.
struct DecodedText
{
    QString text;
    QString encoding;   // the name of what was used, e.g. "UTF-8", "WINDOWS-1250"
};

DecodedText DecodeSubtitleText(const QByteArray& bytes);

// One pass; true for empty and pure ASCII input.
bool IsValidUtf8(const char* data, qsizetype size);

// The legacy code page detection names for non-UTF-8 text, already mended where detection is known
// to mistake a Windows code page for the ISO one of the same script.
QString DetectLegacyEncoding(const QByteArray& bytes);
