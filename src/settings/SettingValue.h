#pragma once

#include <QVariant>

#include <cstdint>
#include <optional>

// The conversions the settings store applies to its values. Values are QVariants of five kinds:
// integer (int), double, string, Boolean and empty (an invalid QVariant). The rules follow the
// loose conversions users of the store expect ("12" is a number, "TRUE" is a Boolean), but
// numbers always use "." as the decimal separator so a file reads back what it wrote.
namespace SettingValue {

enum class Kind { Empty, Integer, Double, String, Boolean, Other };
Kind KindOf(const QVariant& value);

// Folds a value of any Qt type into one of the store's kinds; nullopt for types that have none.
std::optional<QVariant> Normalised(const QVariant& value);

// The value's text: True/False, the shortest decimal for numbers, "" for empty.
QString Text(const QVariant& value);
// A number, a Boolean, or text that is wholly a number; empty counts as a number (zero).
bool IsNumeric(const QVariant& value);
// The leading number of the value's text, 0 when there is none; nullopt when out of range.
std::optional<double> LeadingNumber(const QVariant& value);
// Booleans; numbers (not 0 is true); the words True / False in any letter case or a numeric
// text; empty is false. nullopt when the value does not convert.
std::optional<bool> ToBool(const QVariant& value);
// A 32-bit integer, rounded half to even. True is -1. nullopt when it does not convert or fit.
std::optional<int32_t> ToInt32(const QVariant& value);

// Values equal as the store compares them: numbers (Booleans included) numerically, strings
// exactly, empty equal to 0, "" and false.
bool Equal(const QVariant& a, const QVariant& b);

} // namespace SettingValue
