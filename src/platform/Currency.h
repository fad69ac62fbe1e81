#pragma once

#include <QString>
#include <QStringView>

#include <compare>
#include <cstdint>
#include <optional>

// Signed fixed-point number with exactly four decimal places, held as the value times 10,000.
// Subtitle times, lookup keys and frame positions use it so that comparisons are exact.
// Arithmetic that can leave the 64-bit range is checked and answers nullopt instead of wrapping.
class Currency
{
public:
    static constexpr int64_t Scale = 10000;

    constexpr Currency() = default;
    static constexpr Currency fromRaw(int64_t raw) { Currency c; c.m_raw = raw; return c; }
    static std::optional<Currency> fromInteger(int64_t whole);
    // Rounds to the nearest ten-thousandth, halves to even; nullopt for NaN or out of range.
    static std::optional<Currency> fromDouble(double value);
    // Whole text must be a number (blanks around it allowed); decimal digits are taken exactly.
    static std::optional<Currency> parse(QStringView text);

    constexpr int64_t raw() const { return m_raw; }
    double toDouble() const { return static_cast<double>(m_raw) / Scale; }
    // "1000.0000", "-0.5000": always four decimals, "." as separator.
    QString toString() const;

    std::optional<Currency> plus(Currency other) const;
    std::optional<Currency> minus(Currency other) const;
    std::optional<Currency> times(int64_t factor) const;

    constexpr auto operator<=>(const Currency&) const = default;

private:
    int64_t m_raw = 0;
};
