#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <memory>
#include <optional>

// Converts text in a legacy code page to Unicode with iconv. Bytes that do not belong to the code
// page become U+FFFD and decoding goes on. nullopt when iconv does not know the code page.
std::optional<QString> DecodeWithIconv(const QByteArray& bytes, const QString& encoding);

// A multi-byte code page (GB18030, Big5, Shift_JIS, ...) kept open to decode a file a line at a
// time, so that the file never has to be held whole: none of them uses the bytes of CR or LF
// inside a character. Bytes that do not belong to the code page become U+FFFD.
class IconvLineDecoder
{
public:
    explicit IconvLineDecoder(const QString& encoding);
    ~IconvLineDecoder();
    IconvLineDecoder(const IconvLineDecoder&) = delete;
    IconvLineDecoder& operator=(const IconvLineDecoder&) = delete;

    bool valid() const;
    QString decode(const QByteArray& line);

private:
    struct State;
    std::unique_ptr<State> m_state;
};

// For a code page in which every byte stands alone: the character of each byte (U+FFFD for bytes
// it does not define), so text can be decoded by table, ten times faster than through iconv.
// nullopt for multi-byte or stateful code pages and for names iconv does not know.
using SingleByteTable = std::array<char16_t, 256>;
std::optional<SingleByteTable> SingleByteTableFor(const QString& encoding);
