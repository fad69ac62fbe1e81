#pragma once

#include <QStringView>

#include <optional>

// The two ways the player reads numbers out of text. Both use "." as the decimal separator
// whatever the locale, so a file reads the same on every machine.

enum class InnerBlanks { Stop, Skip };

// Reads the number at the start of the text: leading blanks skipped, optional sign, digits, an
// optional fraction and exponent (e, E, d or D); reading stops at the first character that cannot
// continue the number. With InnerBlanks::Skip, blanks between the digits are ignored
// ("1 0 0" reads 100). Text without a leading number reads 0. nullopt only when the number is
// too large for a double.
std::optional<double> ParseLenient(QStringView text, InnerBlanks blanks = InnerBlanks::Skip);

// The whole text, blanks around it aside, must be one number of the same form; nullopt otherwise.
std::optional<double> ParseStrict(QStringView text);

// The parts of a strictly valid number, for callers that convert decimal digits exactly.
struct DecimalText
{
    bool negative = false;
    QStringView integerDigits;
    QStringView fractionDigits;
    bool hasExponent = false;
};
std::optional<DecimalText> SplitStrictDecimal(QStringView text);
