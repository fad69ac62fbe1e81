#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Converts text in a legacy code page to Unicode with iconv. Bytes that do not belong to the code
// page become U+FFFD and decoding goes on. nullopt when iconv does not know the code page.
std::optional<QString> DecodeWithIconv(const QByteArray& bytes, const QString& encoding);
