#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>

// Converts text in a legacy code page to Unicode with iconv. Bytes that do not belong to the code
// page become U+FFFD and decoding goes on. nullopt when iconv does not know the code page.
std::optional<QString> DecodeWithIconv(const QByteArray& bytes, const QString& encoding);

// For a code page in which every byte stands alone: the character of each byte (U+FFFD for bytes
// it does not define), so text can be decoded by table, ten times faster than through iconv.
// nullopt for multi-byte or stateful code pages and for names iconv does not know.
using SingleByteTable = std::array<char16_t, 256>;
std::optional<SingleByteTable> SingleByteTableFor(const QString& encoding);
