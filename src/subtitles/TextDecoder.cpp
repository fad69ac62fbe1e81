#include "subtitles/TextDecoder.h"

#include "subtitles/IconvDecoder.h"
#include "subtitles/LineDecoder.h"
#include "subtitles/LineSplitter.h"
#include "subtitles/Utf8Check.h"

#include "platform/Prefault.h"

#include <QFileDevice>

#include <QStringDecoder>

#include <uchardet/uchardet.h>

#include <cstring>
#include <memory>

namespace {

constexpr qsizetype SampleLimit = 16 * 1024;     // what detection sees: enough, and ~2 ms
constexpr qsizetype ScanLimit = 1024 * 1024;     // how far we look for lines worth sampling
constexpr qsizetype HeadSize = ScanLimit;          // what the encoding is decided from
constexpr qsizetype PieceSize = 256 * 1024;        // how much of a file is read at a time
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

void splitDecodedLines(const QString& text, const LineHandler& onLine)
{
    SplitLines(text.constData(), text.size(), [&](const QChar* line, qsizetype length) {
        onLine(QStringView(line, length));
    });
}

const ByteOrderMark* markOf(QByteArrayView bytes)
{
    for (const ByteOrderMark& mark : Marks) {
        if (bytes.startsWith(QByteArrayView(mark.bytes, mark.size)))
            return &mark;
    }
    return nullptr;
}

} // namespace

QString DecodeSubtitleLines(const QByteArray& bytes, qsizetype lineLimit, const LineHandler& onLine)
{
    const ByteOrderMark* mark = markOf(bytes);
    const QByteArrayView body = QByteArrayView(bytes).sliced(mark ? mark->size : 0);
    if ((mark && mark->encoding == QStringDecoder::Utf8)
        || (!mark && IsValidUtf8(bytes.constData(), bytes.size()))) {
        LineDecoder decoder(lineLimit, nullptr, onLine);
        decoder.feed(body);
        decoder.finish();
        return mark ? QString::fromLatin1(mark->name) : QStringLiteral("UTF-8");
    }
    if (mark) {
        QStringDecoder decoder(mark->encoding, QStringDecoder::Flag::Stateless);
        splitDecodedLines(decoder.decode(body), onLine);
        return QString::fromLatin1(mark->name);
    }

    QString encoding = DetectLegacyEncoding(bytes);
    if (const std::optional<SingleByteTable> table = SingleByteTableFor(encoding)) {
        LineDecoder decoder(lineLimit, &*table, onLine);
        decoder.feed(bytes);
        decoder.finish();
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

std::optional<QString> DecodeSubtitleFile(QFileDevice& file, qsizetype lineLimit,
                                          const LineHandler& onLine,
                                          const std::function<void()>& onRestart)
{
    // The first part of the file decides the encoding. A file that is UTF-8 so far is decoded as
    // it is read and checked, in one pass; should it turn out not to be UTF-8, it is decoded
    // again from its start. A single-byte file is read in pieces too; neither is held whole.
    // Other encodings are rare and decoded from the whole file.
    QByteArray head(HeadSize, Qt::Uninitialized);
    PrefaultForWriting(head.data(), HeadSize);
    const qint64 headRead = file.read(head.data(), HeadSize);
    if (headRead < 0)
        return std::nullopt;
    head.truncate(headRead);
    const ByteOrderMark* mark = markOf(head);
    const bool utf8Mark = mark && mark->encoding == QStringDecoder::Utf8;

    QByteArray piece(PieceSize, Qt::Uninitialized);
    PrefaultForWriting(piece.data(), PieceSize);
    Utf8Check check;
    if (!mark) {
        check.feed(head);
        if (!check.failed()) {
            LineDecoder decoder(lineLimit, nullptr, onLine);
            decoder.feed(head);
            qint64 got = 0;
            while (!check.failed() && (got = file.read(piece.data(), PieceSize)) > 0) {
                check.feed(QByteArrayView(piece.constData(), got));
                if (!check.failed())
                    decoder.feed(QByteArrayView(piece.constData(), got));
            }
            if (got < 0)
                return std::nullopt;
            if (check.valid()) {
                decoder.finish();
                return QStringLiteral("UTF-8");
            }
            onRestart();
        }
    }
    const bool utf8 = utf8Mark;
    QString encoding = utf8 ? QString::fromLatin1(utf8Mark ? mark->name : "UTF-8")
                            : DetectLegacyEncoding(head);
    const std::optional<SingleByteTable> table =
        utf8 || mark ? std::nullopt : SingleByteTableFor(encoding);
    // UTF-16 and UTF-32 (with a mark, or named by detection) use the bytes of CR and LF inside
    // their characters: decoded whole, then split.
    const bool wide = (mark && !utf8) || encoding.startsWith(QLatin1String("UTF-16"))
                   || encoding.startsWith(QLatin1String("UTF-32"));
    if (!utf8 && !table && wide) {
        if (!file.seek(0))
            return std::nullopt;
        const QByteArray whole = file.readAll();
        if (file.error() != QFileDevice::NoError)
            return std::nullopt;
        return DecodeSubtitleLines(whole, lineLimit, onLine);
    }
    // A multi-byte code page goes through iconv a line at a time.
    std::unique_ptr<IconvLineDecoder> iconv;
    std::optional<SingleByteTable> lineTable = table;
    if (!utf8 && !table) {
        iconv = std::make_unique<IconvLineDecoder>(encoding);
        if (!iconv->valid()) {
            iconv.reset();
            encoding = QString::fromLatin1(FallbackEncoding);
            lineTable = SingleByteTableFor(encoding);
        }
    }

    if (!file.seek(utf8Mark ? mark->size : 0))
        return std::nullopt;
    LineDecoder decoder(lineLimit, lineTable ? &*lineTable : nullptr, onLine, iconv.get());
    qint64 got = 0;
    while ((got = file.read(piece.data(), PieceSize)) > 0)
        decoder.feed(QByteArrayView(piece.constData(), got));
    if (got < 0)
        return std::nullopt;
    decoder.finish();
    return encoding;
}
