#include "subtitles/SubtitleLine.h"

#include "platform/NumberParse.h"
#include "platform/Rounding.h"

#include <array>

namespace {

constexpr qsizetype LineLimit = 1024;

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// The index just past the first "digit:digit" at or after from, or -1.
qsizetype findDigitColonDigit(QStringView line, qsizetype from)
{
    for (qsizetype i = from; i + 2 < line.size(); ++i) {
        if (line[i + 1] == u':' && isDigit(line[i]) && isDigit(line[i + 2]))
            return i + 3;
    }
    return -1;
}

std::optional<int32_t> wholeNumber(QStringView field)
{
    const std::optional<double> value = ParseStrict(field);
    return value ? RoundToInt32(*value) : std::nullopt;
}

} // namespace

QStringView CutToLineLimit(QStringView line)
{
    if (line.size() <= LineLimit)
        return line;
    line = line.first(LineLimit);
    if (line.back().isHighSurrogate())
        line.chop(1);
    return line;
}

std::optional<MicroDvdLine> MatchMicroDvdLine(QStringView line)
{
    if (line.isEmpty() || line.front() != u'{')
        return std::nullopt;
    const qsizetype join = line.indexOf(u"}{", 1);
    if (join < 0 || line.indexOf(u'}', join + 2) < 0)
        return std::nullopt;

    const qsizetype close1 = line.indexOf(u'}');
    const qsizetype close2 = line.indexOf(u'}', close1 + 1);
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
    const qsizetype comma = line.indexOf(u',', afterFirst);
    if (comma < 0 || findDigitColonDigit(line, comma + 1) < 0)
        return -1;
    return line.indexOf(u',');
}

Currency ParseTimingField(QStringView text)
{
    text = text.trimmed();
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
    const std::optional<int32_t> seconds = wholeNumber(fields[2]);
    if (!hours || !minutes || !seconds)
        return {};
    int32_t total = 0, part = 0;
    if (__builtin_mul_overflow(*seconds, 1000, &total)
        || __builtin_mul_overflow(*minutes, 60000, &part)
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
