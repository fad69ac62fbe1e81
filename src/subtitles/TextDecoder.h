#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <functional>
#include <optional>

class QFileDevice;

// Subtitle files come in whatever encoding their author's system used. A byte-order mark decides
// first; then text that is valid UTF-8 is UTF-8; anything else is decoded from the code page that
// detection names (Windows-1252 when it names none). Bytes that do not decode become U+FFFD.

using LineHandler = std::function<void(QStringView line)>;

// Decodes the text and hands it over line by line (without line ends), so a large file is never
// held as text all at once. Lines longer than lineLimit characters may arrive cut, though never
// shorter than lineLimit. Returns the name of the encoding used, e.g. "UTF-8", "WINDOWS-1250".
QString DecodeSubtitleLines(const QByteArray& bytes, qsizetype lineLimit, const LineHandler& onLine);

// The same, reading an open file from its start in pieces: a UTF-8 or single-byte file is never
// held whole in memory. A file without a byte-order mark is read once as UTF-8 while it is
// checked; when invalid bytes turn up, onRestart is called to forget the lines handed over so far
// and the file is read again in its legacy code page. nullopt when reading fails.
std::optional<QString> DecodeSubtitleFile(QFileDevice& file, qsizetype lineLimit,
                                          const LineHandler& onLine,
                                          const std::function<void()>& onRestart);

// The legacy code page detection names for non-UTF-8 text, already mended where detection is known
// to mistake a Windows code page for the ISO one of the same script.
QString DetectLegacyEncoding(const QByteArray& bytes);
