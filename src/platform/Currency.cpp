#include "platform/Currency.h"

#include "platform/NumberParse.h"

#include <cmath>
#include <limits>

std::optional<Currency> Currency::fromInteger(int64_t whole)
{
    int64_t raw = 0;
    if (__builtin_mul_overflow(whole, Scale, &raw))
        return std::nullopt;
    return fromRaw(raw);
}

std::optional<Currency> Currency::fromDouble(double value)
{
    // nearbyint under the default rounding mode rounds halves to even.
    const double scaled = std::nearbyint(value * static_cast<double>(Scale));
    // 2^63 is exactly representable; anything at or beyond it does not fit.
    constexpr double limit = 9223372036854775808.0;
    if (!(scaled >= -limit && scaled < limit))
        return std::nullopt;
    return fromRaw(static_cast<int64_t>(scaled));
}

std::optional<Currency> Currency::parse(QStringView text)
{
    const std::optional<DecimalText> decimal = SplitStrictDecimal(text);
    if (!decimal)
        return std::nullopt;
    if (decimal->hasExponent) {
        const std::optional<double> value = ParseStrict(text);
        return value ? fromDouble(*value) : std::nullopt;
    }
    // Exact path: integer digits, four fraction digits, then half-to-even on the rest.
    int64_t raw = 0;
    for (QChar c : decimal->integerDigits) {
        if (__builtin_mul_overflow(raw, int64_t{10}, &raw)
            || __builtin_add_overflow(raw, int64_t{c.unicode() - u'0'}, &raw))
            return std::nullopt;
    }
    const QStringView fraction = decimal->fractionDigits;
    for (qsizetype i = 0; i < 4; ++i) {
        const int digit = i < fraction.size() ? fraction[i].unicode() - u'0' : 0;
        if (__builtin_mul_overflow(raw, int64_t{10}, &raw)
            || __builtin_add_overflow(raw, int64_t{digit}, &raw))
            return std::nullopt;
    }
    if (fraction.size() > 4) {
        const int first = fraction[4].unicode() - u'0';
        bool restNonZero = false;
        for (qsizetype i = 5; i < fraction.size() && !restNonZero; ++i)
            restNonZero = fraction[i] != u'0';
        const bool roundUp = first > 5 || (first == 5 && (restNonZero || (raw % 2) != 0));
        if (roundUp && __builtin_add_overflow(raw, int64_t{1}, &raw))
            return std::nullopt;
    }
    if (decimal->negative)
        raw = -raw;
    return fromRaw(raw);
}

QString Currency::toString() const
{
    const bool negative = m_raw < 0;
    // Through unsigned so that the most negative value has a magnitude too.
    const uint64_t magnitude = negative ? uint64_t{0} - static_cast<uint64_t>(m_raw)
                                        : static_cast<uint64_t>(m_raw);
    QString fraction = QString::number(magnitude % Scale).rightJustified(4, u'0');
    return (negative ? QStringLiteral("-") : QString()) + QString::number(magnitude / Scale)
         + u'.' + fraction;
}

std::optional<Currency> Currency::plus(Currency other) const
{
    int64_t raw = 0;
    if (__builtin_add_overflow(m_raw, other.m_raw, &raw))
        return std::nullopt;
    return fromRaw(raw);
}

std::optional<Currency> Currency::minus(Currency other) const
{
    int64_t raw = 0;
    if (__builtin_sub_overflow(m_raw, other.m_raw, &raw))
        return std::nullopt;
    return fromRaw(raw);
}

std::optional<Currency> Currency::times(int64_t factor) const
{
    int64_t raw = 0;
    if (__builtin_mul_overflow(m_raw, factor, &raw))
        return std::nullopt;
    return fromRaw(raw);
}
