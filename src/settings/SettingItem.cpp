#include "settings/SettingItem.h"

QChar SettingItem::TagOf(int32_t type)
{
    switch (type) {
    case SettingNumber:
        return u'N';
    case SettingString:
        return u'S';
    case SettingBoolean:
        return u'B';
    default:
        return u'?';
    }
}

int32_t SettingItem::TypeOfTag(QChar tag)
{
    if (tag == u'N')
        return SettingNumber;
    if (tag == u'B')
        return SettingBoolean;
    return SettingString;
}

QVariant SettingItem::EmptyValueOf(int32_t type)
{
    switch (type) {
    case SettingNumber:
        return QVariant(0);
    case SettingString:
        return QVariant(QString());
    case SettingBoolean:
        return QVariant(false);
    default:
        return QVariant();
    }
}
