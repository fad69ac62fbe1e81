#include "settings/SettingValue.h"

#include "platform/NumberFormat.h"
#include "platform/NumberParse.h"
#include "platform/Rounding.h"

#include <QMetaType>

namespace SettingValue {

Kind KindOf(const QVariant& value)
{
    if (!value.isValid())
        return Kind::Empty;
    switch (value.typeId()) {
    case QMetaType::Bool:
        return Kind::Boolean;
    case QMetaType::Int:
        return Kind::Integer;
    case QMetaType::Double:
        return Kind::Double;
    case QMetaType::QString:
        return Kind::String;
    default:
        return Kind::Other;
    }
}

std::optional<QVariant> Normalised(const QVariant& value)
{
    if (!value.isValid() || value.typeId() == QMetaType::Nullptr)
        return QVariant();
    switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::Double:
    case QMetaType::QString:
        return value;
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return QVariant(value.toInt());
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong: {
        const double d = value.toDouble();
        if (d >= INT32_MIN && d <= INT32_MAX)
            return QVariant(value.toInt());
        return QVariant(d);
    }
    case QMetaType::Float:
        return QVariant(value.toDouble());
    case QMetaType::QByteArray:
        return QVariant(QString::fromUtf8(value.toByteArray()));
    default:
        if (value.canConvert<QString>())
            return QVariant(value.toString());
        return std::nullopt;
    }
}

QString Text(const QVariant& value)
{
    switch (KindOf(value)) {
    case Kind::Empty:
        return QString();
    case Kind::Boolean:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case Kind::Integer:
        return QString::number(value.toInt());
    case Kind::Double:
        return ShortestDecimal(value.toDouble());
    case Kind::String:
        return value.toString();
    case Kind::Other:
        break;
    }
    const auto normal = Normalised(value);
    return normal && KindOf(*normal) != Kind::Other ? Text(*normal) : QString();
}

bool IsNumeric(const QVariant& value)
{
    switch (KindOf(value)) {
    case Kind::Empty:
    case Kind::Boolean:
    case Kind::Integer:
    case Kind::Double:
        return true;
    case Kind::String:
        return ParseStrict(value.toString()).has_value();
    case Kind::Other:
        break;
    }
    const auto normal = Normalised(value);
    return normal && KindOf(*normal) != Kind::Other && IsNumeric(*normal);
}

std::optional<double> LeadingNumber(const QVariant& value)
{
    return ParseLenient(Text(value));
}

std::optional<bool> ToBool(const QVariant& value)
{
    switch (KindOf(value)) {
    case Kind::Empty:
        return false;
    case Kind::Boolean:
        return value.toBool();
    case Kind::Integer:
        return value.toInt() != 0;
    case Kind::Double:
        return value.toDouble() != 0.0;
    case Kind::String: {
        const QString text = value.toString().trimmed();
        if (text.compare(u"true", Qt::CaseInsensitive) == 0)
            return true;
        if (text.compare(u"false", Qt::CaseInsensitive) == 0)
            return false;
        if (const auto number = ParseStrict(text))
            return *number != 0.0;
        return std::nullopt;
    }
    case Kind::Other:
        break;
    }
    const auto normal = Normalised(value);
    if (!normal || KindOf(*normal) == Kind::Other)
        return std::nullopt;
    return ToBool(*normal);
}

std::optional<int32_t> ToInt32(const QVariant& value)
{
    switch (KindOf(value)) {
    case Kind::Empty:
        return 0;
    case Kind::Boolean:
        return value.toBool() ? -1 : 0;
    case Kind::Integer:
        return value.toInt();
    case Kind::Double:
        return RoundToInt32(value.toDouble());
    case Kind::String: {
        const auto number = ParseStrict(value.toString());
        if (!number)
            return std::nullopt;
        return RoundToInt32(*number);
    }
    case Kind::Other:
        break;
    }
    const auto normal = Normalised(value);
    if (!normal || KindOf(*normal) == Kind::Other)
        return std::nullopt;
    return ToInt32(*normal);
}

namespace {

std::optional<double> AsNumber(const QVariant& value)
{
    switch (KindOf(value)) {
    case Kind::Empty:
        return 0.0;
    case Kind::Boolean:
        return value.toBool() ? -1.0 : 0.0;
    case Kind::Integer:
    case Kind::Double:
        return value.toDouble();
    default:
        return std::nullopt;
    }
}

} // namespace

bool Equal(const QVariant& a, const QVariant& b)
{
    const Kind ka = KindOf(a);
    const Kind kb = KindOf(b);
    if (ka == Kind::String && kb == Kind::String)
        return a.toString() == b.toString();
    if (ka == Kind::Empty && kb == Kind::String)
        return b.toString().isEmpty();
    if (kb == Kind::Empty && ka == Kind::String)
        return a.toString().isEmpty();
    const auto na = AsNumber(a);
    const auto nb = AsNumber(b);
    if (na && nb)
        return *na == *nb;
    if (ka == Kind::Other || kb == Kind::Other)
        return a == b;
    return false;
}

} // namespace SettingValue
