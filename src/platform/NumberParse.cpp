#include "platform/NumberParse.h"

#include <charconv>
#include <string>
#include <system_error>

namespace {

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }
bool isBlank(QChar c) { return c == u' ' || c == u'\t' || c == u'\n'; }
bool isExponentMark(QChar c) { return c == u'e' || c == u'E' || c == u'd' || c == u'D'; }

// Converts a validated ASCII number ("-12.5e3" form, 'e' only) to a double.
std::optional<double> toDouble(const std::string& ascii)
{
    if (ascii.empty())
        return 0.0;
    const char* first = ascii.data();
    // from_chars takes no leading '+'.
    if (*first == '+')
        ++first;
    double value = 0.0;
    const auto [end, error] = std::from_chars(first, ascii.data() + ascii.size(), value);
    if (error == std::errc::result_out_of_range) {
        // Underflow is a zero, not an error: a tiny value reads as 0.
        bool mantissaNonZero = false;
        for (const char* p = first; p < ascii.data() + ascii.size() && *p != 'e'; ++p)
            mantissaNonZero |= (*p >= '1' && *p <= '9');
        const size_t e = ascii.find('e');
        const bool negativeExponent = e != std::string::npos && e + 1 < ascii.size()
                                   && ascii[e + 1] == '-';
        if (!mantissaNonZero || negativeExponent)
            return 0.0;
        return std::nullopt;
    }
    if (error != std::errc())
        return 0.0;
    return value;
}

// Scans a number starting at text[pos]; appends its ASCII form to out and returns the position
// after it. Blanks are skipped inside when skipBlanks is set.
qsizetype scanNumber(QStringView text, qsizetype pos, bool skipBlanks, std::string& out,
                     bool& sawDigit)
{
    const qsizetype n = text.size();
    auto skip = [&](qsizetype p) {
        while (skipBlanks && p < n && isBlank(text[p]))
            ++p;
        return p;
    };
    pos = skip(pos);
    if (pos < n && (text[pos] == u'-' || text[pos] == u'+'))
        out.push_back(static_cast<char>(text[pos++].unicode()));
    bool seenPoint = false;
    while (true) {
        pos = skip(pos);
        if (pos >= n)
            break;
        const QChar c = text[pos];
        if (isDigit(c)) {
            out.push_back(static_cast<char>(c.unicode()));
            sawDigit = true;
        } else if (c == u'.' && !seenPoint) {
            out.push_back('.');
            seenPoint = true;
        } else {
            break;
        }
        ++pos;
    }
    if (!sawDigit || pos >= n || !isExponentMark(text[pos]))
        return pos;
    // An exponent counts only when at least one digit follows it.
    std::string exponent = "e";
    qsizetype p = skip(pos + 1);
    if (p < n && (text[p] == u'-' || text[p] == u'+'))
        exponent.push_back(static_cast<char>(text[p++].unicode()));
    bool exponentDigit = false;
    while (true) {
        p = skip(p);
        if (p >= n || !isDigit(text[p]))
            break;
        exponent.push_back(static_cast<char>(text[p++].unicode()));
        exponentDigit = true;
    }
    if (!exponentDigit)
        return pos;
    out += exponent;
    return p;
}

} // namespace

std::optional<double> ParseLenient(QStringView text, InnerBlanks blanks)
{
    qsizetype pos = 0;
    while (pos < text.size() && isBlank(text[pos]))
        ++pos;
    std::string ascii;
    bool sawDigit = false;
    scanNumber(text, pos, blanks == InnerBlanks::Skip, ascii, sawDigit);
    if (!sawDigit)
        return 0.0;
    return toDouble(ascii);
}

std::optional<DecimalText> SplitStrictDecimal(QStringView text)
{
    text = text.trimmed();
    DecimalText parts;
    qsizetype pos = 0;
    const qsizetype n = text.size();
    if (pos < n && (text[pos] == u'-' || text[pos] == u'+'))
        parts.negative = text[pos++] == u'-';
    const qsizetype intStart = pos;
    while (pos < n && isDigit(text[pos]))
        ++pos;
    parts.integerDigits = text.sliced(intStart, pos - intStart);
    if (pos < n && text[pos] == u'.') {
        const qsizetype fracStart = ++pos;
        while (pos < n && isDigit(text[pos]))
            ++pos;
        parts.fractionDigits = text.sliced(fracStart, pos - fracStart);
    }
    if (parts.integerDigits.isEmpty() && parts.fractionDigits.isEmpty())
        return std::nullopt;
    if (pos < n && isExponentMark(text[pos])) {
        ++pos;
        if (pos < n && (text[pos] == u'-' || text[pos] == u'+'))
            ++pos;
        const qsizetype expStart = pos;
        while (pos < n && isDigit(text[pos]))
            ++pos;
        if (pos == expStart)
            return std::nullopt;
        parts.hasExponent = true;
    }
    if (pos != n)
        return std::nullopt;
    return parts;
}

std::optional<double> ParseStrict(QStringView text)
{
    if (!SplitStrictDecimal(text))
        return std::nullopt;
    std::string ascii;
    bool sawDigit = false;
    scanNumber(text.trimmed(), 0, false, ascii, sawDigit);
    return toDouble(ascii);
}
