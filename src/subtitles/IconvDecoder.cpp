#include "subtitles/IconvDecoder.h"

#include <QtEndian>

#include <array>
#include <cerrno>
#include <iconv.h>
#include <vector>

namespace {

constexpr char16_t Replacement = 0xFFFD;

const char* utf16Native()
{
    return QSysInfo::ByteOrder == QSysInfo::LittleEndian ? "UTF-16LE" : "UTF-16BE";
}

class Converter
{
public:
    explicit Converter(const QByteArray& from) : m_cd(iconv_open(utf16Native(), from.constData())) {}
    ~Converter()
    {
        if (valid())
            iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    void reset() { iconv(m_cd, nullptr, nullptr, nullptr, nullptr); }
    // Returns iconv's result; errno tells why it stopped when that is (size_t)-1.
    size_t convert(const char** in, size_t* inLeft, char16_t** out, size_t* outLeft)
    {
        char* outBytes = reinterpret_cast<char*>(*out);
        size_t outBytesLeft = *outLeft * 2;
        const size_t result = iconv(m_cd, const_cast<char**>(in), inLeft, &outBytes, &outBytesLeft);
        *out = reinterpret_cast<char16_t*>(outBytes);
        *outLeft = outBytesLeft / 2;
        return result;
    }

private:
    iconv_t m_cd;
};

// A code page in which every byte stands alone can be decoded through a 256-entry table, ten
// times faster than iconv call by call. Returns false for multi-byte code pages.
bool buildSingleByteTable(Converter& converter, SingleByteTable& table)
{
    for (int byte = 0; byte < 256; ++byte) {
        converter.reset();
        const char input = static_cast<char>(byte);
        const char* in = &input;
        size_t inLeft = 1;
        char16_t output[4];
        char16_t* out = output;
        size_t outLeft = 4;
        const size_t result = converter.convert(&in, &inLeft, &out, &outLeft);
        if (result == static_cast<size_t>(-1)) {
            if (errno != EILSEQ)
                return false;   // an incomplete sequence: this byte starts a multi-byte character
            table[byte] = Replacement;
        } else if (out - output == 1) {
            table[byte] = output[0];
        } else if (out - output == 0) {
            return false;       // a shift or escape byte: stateful encoding
        } else {
            table[byte] = Replacement;
        }
    }
    return true;
}

QString decodeStream(Converter& converter, const QByteArray& bytes)
{
    converter.reset();
    std::vector<char16_t> output(static_cast<size_t>(bytes.size()) + 16);
    const char* in = bytes.constData();
    size_t inLeft = static_cast<size_t>(bytes.size());
    size_t used = 0;
    while (inLeft > 0) {
        char16_t* out = output.data() + used;
        size_t outLeft = output.size() - used;
        const size_t result = converter.convert(&in, &inLeft, &out, &outLeft);
        used = static_cast<size_t>(out - output.data());
        if (result != static_cast<size_t>(-1))
            break;
        if (errno == E2BIG) {
            output.resize(output.size() * 2);
            continue;
        }
        // An invalid byte, or a character cut off by the end of the file.
        if (used == output.size())
            output.resize(output.size() * 2);
        output[used++] = Replacement;
        if (errno == EINVAL)
            break;
        ++in;
        --inLeft;
        converter.reset();
    }
    return QString(reinterpret_cast<const QChar*>(output.data()), static_cast<qsizetype>(used));
}

} // namespace

std::optional<SingleByteTable> SingleByteTableFor(const QString& encoding)
{
    Converter converter(encoding.toLatin1());
    SingleByteTable table{};
    if (!converter.valid() || !buildSingleByteTable(converter, table))
        return std::nullopt;
    return table;
}

struct IconvLineDecoder::State
{
    explicit State(const QString& encoding) : converter(encoding.toLatin1()) {}
    Converter converter;
};

IconvLineDecoder::IconvLineDecoder(const QString& encoding)
    : m_state(std::make_unique<State>(encoding))
{}

IconvLineDecoder::~IconvLineDecoder() = default;

bool IconvLineDecoder::valid() const
{
    return m_state->converter.valid();
}

QString IconvLineDecoder::decode(const QByteArray& line)
{
    return decodeStream(m_state->converter, line);
}

std::optional<QString> DecodeWithIconv(const QByteArray& bytes, const QString& encoding)
{
    Converter converter(encoding.toLatin1());
    if (!converter.valid())
        return std::nullopt;
    SingleByteTable table{};
    if (!buildSingleByteTable(converter, table))
        return decodeStream(converter, bytes);
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    for (char byte : bytes)
        *out++ = table[static_cast<unsigned char>(byte)];
    return text;
}
