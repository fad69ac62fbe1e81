#include "subtitles/TextDecoder.h"

#include "subtitles/IconvDecoder.h"
#include "subtitles/LineSplitter.h"

#include <QStringDecoder>

#include <uchardet/uchardet.h>

#include <cstring>
#include <memory>

namespace {

constexpr qsizetype SampleLimit = 16 * 1024;     // what detection sees: enough, and ~2 ms
constexpr qsizetype ScanLimit = 1024 * 1024;     // how far we look for lines worth sampling
const char* const FallbackEncoding = "WINDOWS-1252";

struct ByteOrderMark
{
    const char* bytes;
    qsizetype size;
    QStringDecoder::Encoding encoding;
    const char* name;
};

// UTF-32 LE before UTF-16 LE: its mark begins with the same two bytes.
const ByteOrderMark Marks[] = {
    {"\xEF\xBB\xBF", 3, QStringDecoder::Utf8, "UTF-8 (BOM)"},
    {"\xFF\xFE\x00\x00", 4, QStringDecoder::Utf32LE, "UTF-32LE"},
    {"\x00\x00\xFE\xFF", 4, QStringDecoder::Utf32BE, "UTF-32BE"},
    {"\xFF\xFE", 2, QStringDecoder::Utf16LE, "UTF-16LE"},
    {"\xFE\xFF", 2, QStringDecoder::Utf16BE, "UTF-16BE"},
};

// Detection sometimes names the ISO code page of a script for text that uses bytes 0x80-0x9F;
// ISO-8859 has only control codes there, so such text is in the Windows code page of that script.
const char* windowsCodePageFor(const QByteArray& isoName)
{
    static const struct { const char* iso; const char* windows; } pairs[] = {
        {"ISO-8859-1", "WINDOWS-1252"}, {"ISO-8859-15", "WINDOWS-1252"},
        {"ISO-8859-2", "WINDOWS-1250"}, {"ISO-8859-16", "WINDOWS-1250"},
        {"ISO-8859-5", "WINDOWS-1251"}, {"ISO-8859-7", "WINDOWS-1253"},
        {"ISO-8859-9", "WINDOWS-1254"}, {"ISO-8859-8", "WINDOWS-1255"},
        {"ISO-8859-6", "WINDOWS-1256"}, {"ISO-8859-13", "WINDOWS-1257"},
        {"ISO-8859-4", "WINDOWS-1257"},
    };
    for (const auto& pair : pairs) {
        if (isoName.compare(pair.iso, Qt::CaseInsensitive) == 0)
            return pair.windows;
    }
    return nullptr;
}

// Lines with bytes above 0x7F carry all the evidence; plain ASCII lines only dilute it.
QByteArray detectionSample(const QByteArray& bytes)
{
    QByteArray sample;
    const qsizetype end = qMin(bytes.size(), ScanLimit);
    qsizetype lineStart = 0;
    bool lineHasHighBytes = false;
    for (qsizetype i = 0; i < end && sample.size() < SampleLimit; ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte >= 0x80) {
            lineHasHighBytes = true;
        } else if (byte == '\n') {
            if (lineHasHighBytes)
                sample.append(bytes.constData() + lineStart, i + 1 - lineStart);
            lineStart = i + 1;
            lineHasHighBytes = false;
        }
    }
    if (lineHasHighBytes && sample.size() < SampleLimit)
        sample.append(bytes.constData() + lineStart, end - lineStart);
    return sample.left(SampleLimit);
}

bool hasWindowsOnlyBytes(const QByteArray& sample)
{
    for (char c : sample) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80 && byte <= 0x9F)
            return true;
    }
    return false;
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

QString DetectLegacyEncoding(const QByteArray& bytes)
{
    const QByteArray sample = detectionSample(bytes);
    if (sample.isEmpty())
        return QString::fromLatin1(FallbackEncoding);
    std::unique_ptr<std::remove_pointer_t<uchardet_t>, void (*)(uchardet_t)> detector(
        uchardet_new(), uchardet_delete);
    if (!detector)
        return QString::fromLatin1(FallbackEncoding);
    uchardet_handle_data(detector.get(), sample.constData(), static_cast<size_t>(sample.size()));
    uchardet_data_end(detector.get());
    QByteArray name(uchardet_get_charset(detector.get()));
    if (name.isEmpty() || name.compare("ASCII", Qt::CaseInsensitive) == 0)
        return QString::fromLatin1(FallbackEncoding);
    if (hasWindowsOnlyBytes(sample)) {
        if (const char* windows = windowsCodePageFor(name))
            name = windows;
    }
    return QString::fromLatin1(name.toUpper());
}

namespace {

bool isAscii(const char* data, qsizetype length)
{
    qsizetype i = 0;
    for (; i + 8 <= length; i += 8) {
        uint64_t word;
        std::memcpy(&word, data + i, 8);
        if (word & 0x8080808080808080ULL)
            return false;
    }
    for (; i < length; ++i) {
        if (static_cast<unsigned char>(data[i]) >= 0x80)
            return false;
    }
    return true;
}

// UTF-8 is decoded a line at a time into one reused buffer; most lines are plain ASCII and are
// only widened.
void decodeUtf8Lines(QByteArrayView bytes, qsizetype lineLimit, const LineHandler& onLine)
{
    // Enough bytes for lineLimit characters even when every character takes four.
    const qsizetype byteLimit = lineLimit * 4;
    QString buffer;
    SplitLines(bytes.data(), bytes.size(), [&](const char* line, qsizetype length) {
        length = qMin(length, byteLimit);
        if (isAscii(line, length)) {
            // Assigning Latin-1 reuses the buffer's storage and widens with vector instructions.
            buffer = QLatin1StringView(line, length);
            onLine(buffer);
            return;
        }
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        buffer.resize(decoder.requiredSpace(length));
        const QChar* end = decoder.appendToBuffer(buffer.data(), QByteArrayView(line, length));
        onLine(QStringView(buffer.constData(), end));
    });
}

void decodeTableLines(QByteArrayView bytes, qsizetype lineLimit, const SingleByteTable& table,
                      const LineHandler& onLine)
{
    QString buffer;
    SplitLines(bytes.data(), bytes.size(), [&](const char* line, qsizetype length) {
        length = qMin(length, lineLimit);
        buffer.resize(length);
        char16_t* out = reinterpret_cast<char16_t*>(buffer.data());
        for (qsizetype i = 0; i < length; ++i)
            out[i] = table[static_cast<unsigned char>(line[i])];
        onLine(QStringView(buffer.constData(), length));
    });
}

void splitDecodedLines(const QString& text, const LineHandler& onLine)
{
    SplitLines(text.constData(), text.size(), [&](const QChar* line, qsizetype length) {
        onLine(QStringView(line, length));
    });
}

} // namespace

QString DecodeSubtitleLines(const QByteArray& bytes, qsizetype lineLimit, const LineHandler& onLine)
{
    for (const ByteOrderMark& mark : Marks) {
        if (!bytes.startsWith(QByteArrayView(mark.bytes, mark.size)))
            continue;
        const QByteArrayView body = QByteArrayView(bytes).sliced(mark.size);
        if (mark.encoding == QStringDecoder::Utf8) {
            decodeUtf8Lines(body, lineLimit, onLine);
        } else {
            QStringDecoder decoder(mark.encoding, QStringDecoder::Flag::Stateless);
            splitDecodedLines(decoder.decode(body), onLine);
        }
        return QString::fromLatin1(mark.name);
    }
    if (IsValidUtf8(bytes.constData(), bytes.size())) {
        decodeUtf8Lines(bytes, lineLimit, onLine);
        return QStringLiteral("UTF-8");
    }

    QString encoding = DetectLegacyEncoding(bytes);
    if (const std::optional<SingleByteTable> table = SingleByteTableFor(encoding)) {
        decodeTableLines(bytes, lineLimit, *table, onLine);
        return encoding;
    }
    std::optional<QString> text = DecodeWithIconv(bytes, encoding);
    if (!text) {
        encoding = QString::fromLatin1(FallbackEncoding);
        text = DecodeWithIconv(bytes, encoding);
    }
    if (!text) {   // no iconv conversion at all: keep the bytes readable rather than fail
        text = QString::fromLatin1(bytes);
        encoding = QStringLiteral("ISO-8859-1");
    }
    splitDecodedLines(*text, onLine);
    return encoding;
}
