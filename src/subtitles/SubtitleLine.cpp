#include "subtitles/SubtitleLine.h"

#include "platform/NumberParse.h"
#include "platform/Rounding.h"
#include "platform/TextLines.h"

#include <array>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// The index just past the first "digit:digit" at or after from, or -1.
qsizetype findDigitColonDigit(QStringView line, qsizetype from)
{
    const QChar* data = line.data();
    for (qsizetype colon = from + 1; colon + 1 < line.size(); ++colon) {
        if (data[colon] == u':' && isDigit(data[colon - 1]) && isDigit(data[colon + 1]))
            return colon + 2;
    }
    return -1;
}

std::optional<int32_t> wholeNumber(QStringView field)
{
    // Nearly every field is a few plain digits; only the rest needs the general parser.
    const QStringView digits = TrimBlanks(field);
    if (!digits.isEmpty() && digits.size() <= 9) {
        int32_t value = 0;
        bool plain = true;
        for (QChar c : digits) {
            if (!isDigit(c)) {
                plain = false;
                break;
            }
            value = value * 10 + (c.unicode() - u'0');
        }
        if (plain)
            return value;
    }
    const std::optional<double> value = ParseStrict(field);
    return value ? RoundToInt32(*value) : std::nullopt;
}

} // namespace

namespace {

enum ShapeBit : uint8_t { ArrowHead = 1, Colon = 2, Comma = 4, Markup = 8 };

uint8_t shapeBitsOneByOne(const char16_t* data, qsizetype size)
{
    static constexpr auto kinds = [] {
        std::array<uint8_t, 128> table{};
        table['>'] = ArrowHead;
        table[':'] = Colon;
        table[','] = Comma;
        table['<'] = table['['] = table['{'] = table['|'] = Markup;
        return table;
    }();
    uint8_t found = 0;
    for (qsizetype i = 0; i < size; ++i) {
        if (data[i] < 128)
            found |= kinds[data[i]];
    }
    return found;
}

uint8_t shapeBits(const char16_t* data, qsizetype size)
{
#ifdef __SSE2__
    if (size < 8)
        return shapeBitsOneByOne(data, size);
    // Every line of a file passes here: sixteen characters at a time, narrowed to bytes (the
    // characters sought are ASCII, and nothing else narrows to one of them). The last sixteen
    // may overlap the ones before: what was met is only gathered.
    const __m128i arrow = _mm_set1_epi8('>'), colon = _mm_set1_epi8(':');
    const __m128i comma = _mm_set1_epi8(','), less = _mm_set1_epi8('<');
    const __m128i bracket = _mm_set1_epi8('['), brace = _mm_set1_epi8('{');
    const __m128i bar = _mm_set1_epi8('|');
    __m128i arrows = _mm_setzero_si128(), colons = arrows, commas = arrows, markups = arrows;
    auto gather = [&](const char16_t* low, const char16_t* high) {
        const __m128i chunk =
            _mm_packus_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(low)),
                             _mm_loadu_si128(reinterpret_cast<const __m128i*>(high)));
        arrows = _mm_or_si128(arrows, _mm_cmpeq_epi8(chunk, arrow));
        colons = _mm_or_si128(colons, _mm_cmpeq_epi8(chunk, colon));
        commas = _mm_or_si128(commas, _mm_cmpeq_epi8(chunk, comma));
        markups = _mm_or_si128(
            markups,
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(chunk, less), _mm_cmpeq_epi8(chunk, bracket)),
                         _mm_or_si128(_mm_cmpeq_epi8(chunk, brace), _mm_cmpeq_epi8(chunk, bar))));
    };
    qsizetype i = 0;
    for (; i + 16 <= size; i += 16)
        gather(data + i, data + i + 8);
    if (i < size)
        gather(size - i > 8 ? data + i : data + size - 8, data + size - 8);
    return (_mm_movemask_epi8(arrows) ? ArrowHead : 0) | (_mm_movemask_epi8(colons) ? Colon : 0)
         | (_mm_movemask_epi8(commas) ? Comma : 0) | (_mm_movemask_epi8(markups) ? Markup : 0);
#else
    return shapeBitsOneByOne(data, size);
#endif
}

} // namespace

LineShape ShapeOf(QStringView line)
{
    const uint8_t found = shapeBits(line.utf16(), line.size());
    return {(found & ArrowHead) != 0, (found & Colon) != 0, (found & Comma) != 0,
            (found & Markup) != 0};
}

qsizetype FindTimingArrow(QStringView line)
{
    // Every line of a file is searched: a plain walk for the rare ">" costs a fraction of a
    // general substring search, whose set-up alone exceeds a short line's scan.
    const QChar* data = line.data();
    for (qsizetype p = 2; p < line.size(); ++p) {
        if (data[p] == u'>' && data[p - 1] == u'-' && data[p - 2] == u'-')
            return p - 2;
    }
    return -1;
}

QStringView SubRipEndTime(QStringView afterArrow)
{
    auto isSeparator = [](QChar c) { return c == u':' || c == u',' || c == u'.'; };
    const qsizetype size = afterArrow.size();
    qsizetype i = 0;
    while (i < size && IsBlank(afterArrow[i]))
        ++i;
    for (; i < size; ++i) {
        if (!IsBlank(afterArrow[i]))
            continue;
        qsizetype next = i;
        while (next < size && IsBlank(afterArrow[next]))
            ++next;
        if (next == size || (!isSeparator(afterArrow[i - 1]) && !isSeparator(afterArrow[next])))
            return afterArrow.first(i);
        i = next - 1;
    }
    return afterArrow;
}

QStringView CutToLineLimit(QStringView line)
{
    if (line.size() <= SubtitleLineLimit)
        return line;
    line = line.first(SubtitleLineLimit);
    if (line.back().isHighSurrogate())
        line.chop(1);
    return line;
}

std::optional<MicroDvdLine> MatchMicroDvdLine(QStringView line)
{
    if (line.isEmpty() || line.front() != u'{')
        return std::nullopt;
    const qsizetype join = line.indexOf(u"}{", 1);
    if (join < 0 || line.indexOf(QChar(u'}'), join + 2) < 0)
        return std::nullopt;

    const qsizetype close1 = line.indexOf(QChar(u'}'));
    const qsizetype close2 = line.indexOf(QChar(u'}'), close1 + 1);
    MicroDvdLine result;
    if (const std::optional<double> start = ParseLenient(line.sliced(1, close1 - 1)))
        result.start = Currency::fromDouble(*start).value_or(Currency());
    // The end sits between "}{" and the next "}"; when the first "}" is not followed by "{"
    // that stretch is empty or inverted and the end stays 0.
    if (const qsizetype length = close2 - close1 - 2; length >= 0)
        result.end = Currency::parse(line.sliced(close1 + 2, length)).value_or(Currency());
    result.text = line.sliced(close2 + 1);
    return result;
}

qsizetype MatchCommaTimingLine(QStringView line)
{
    const qsizetype afterFirst = findDigitColonDigit(line, 0);
    if (afterFirst < 0)
        return -1;
    const qsizetype comma = line.indexOf(QChar(u','), afterFirst);
    if (comma < 0 || findDigitColonDigit(line, comma + 1) < 0)
        return -1;
    return line.indexOf(QChar(u','));
}

namespace {

// "hh:mm:ss,mmm" exactly, as SubRip writes it (or "hh:mm:ss.mmm", the same time): the common
// case, read without a loop.
std::optional<int64_t> subRipTiming(QStringView text)
{
    if (text.size() != 12 || text[2] != u':' || text[5] != u':'
        || (text[8] != u',' && text[8] != u'.'))
        return std::nullopt;
    int d[12];
    for (int i : {0, 1, 3, 4, 6, 7, 9, 10, 11}) {
        if (!isDigit(text[i]))
            return std::nullopt;
        d[i] = text[i].unicode() - u'0';
    }
    return (d[0] * 10 + d[1]) * 3600000LL + (d[3] * 10 + d[4]) * 60000LL
         + (d[6] * 10 + d[7]) * 1000LL + d[9] * 100 + d[10] * 10 + d[11];
}

// Reads "d+:d+:d+" of plain digits, the seconds with up to three decimals after a "." and then
// perhaps ",d+" or ":d+" counting milliseconds as written: the forms nearly every timing takes.
// nullopt for anything else, which the general reading handles.
std::optional<int64_t> plainTiming(QStringView text)
{
    int64_t fields[4] = {0, 0, 0, 0};
    int field = 0;
    qsizetype digits = 0;
    int fractionDigits = -1;   // -1: the seconds have no fraction
    int64_t fraction = 0;
    for (QChar c : text) {
        if (isDigit(c)) {
            if (fractionDigits >= 0 && field == 2) {
                if (++fractionDigits > 3)
                    return std::nullopt;
                fraction = fraction * 10 + (c.unicode() - u'0');
                continue;
            }
            if (++digits > 9)
                return std::nullopt;
            fields[field] = fields[field] * 10 + (c.unicode() - u'0');
        } else if (c == u'.' && field == 2 && digits > 0 && fractionDigits < 0) {
            fractionDigits = 0;
        } else if (digits > 0 && field < 3 && fractionDigits != 0
                   && (c == u':' || (field == 2 && c == u','))) {
            ++field;
            digits = 0;
        } else {
            return std::nullopt;
        }
    }
    if (field < 2 || digits == 0 || fractionDigits == 0)
        return std::nullopt;
    for (int i = fractionDigits; i < 3; ++i)
        fraction *= 10;
    const int64_t seconds = fields[2] * 1000 + fraction;
    const int64_t total = seconds + fields[1] * 60000 + fields[0] * 3600000;
    if (total > INT32_MAX || seconds > INT32_MAX || fields[1] * 60000 > INT32_MAX
        || fields[0] * 3600000 > INT32_MAX)
        return std::nullopt;   // the general reading decides what an overflow gives
    return total + fields[3];
}

// The seconds field in milliseconds. With a decimal point its fraction counts to the millisecond
// (01.50 is 1500); otherwise a fractional value is rounded to whole seconds first.
std::optional<int32_t> secondsInMilliseconds(QStringView field)
{
    if (field.contains(u'.')) {
        // Ten-thousandths of a second: tenths of a millisecond, rounded away (halves to even;
        // a half is exact in a double).
        if (const std::optional<Currency> exact = Currency::parse(field))
            return RoundToInt32(static_cast<double>(exact->raw()) / 10.0);
        const std::optional<double> value = ParseStrict(field);
        return value ? RoundToInt32(*value * 1000.0) : std::nullopt;
    }
    const std::optional<int32_t> seconds = wholeNumber(field);
    int32_t ms = 0;
    if (!seconds || __builtin_mul_overflow(*seconds, 1000, &ms))
        return std::nullopt;
    return ms;
}

} // namespace

Currency ParseTimingField(QStringView text)
{
    text = TrimBlanks(text);
    std::optional<int64_t> plain = subRipTiming(text);
    if (!plain)
        plain = plainTiming(text);
    if (plain)
        return Currency::fromRaw(*plain * Currency::Scale);
    std::array<QStringView, 4> fields;
    qsizetype count = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size() && count < 4; ++i) {
        if (i == text.size() || text[i] == u':' || text[i] == u',') {
            fields[static_cast<size_t>(count++)] = text.sliced(start, i - start);
            start = i + 1;
        }
    }
    if (count < 3)
        return {};
    const std::optional<int32_t> hours = wholeNumber(fields[0]);
    const std::optional<int32_t> minutes = wholeNumber(fields[1]);
    const std::optional<int32_t> seconds = secondsInMilliseconds(fields[2]);
    if (!hours || !minutes || !seconds)
        return {};
    int32_t total = *seconds, part = 0;
    if (__builtin_mul_overflow(*minutes, 60000, &part)
        || __builtin_add_overflow(total, part, &total)
        || __builtin_mul_overflow(*hours, 3600000, &part)
        || __builtin_add_overflow(total, part, &total))
        return {};
    int64_t milliseconds = total;
    if (count == 4) {
        if (const std::optional<int32_t> extra = wholeNumber(fields[3]))
            milliseconds += *extra;
    }
    return Currency::fromInteger(milliseconds).value_or(Currency());
}
