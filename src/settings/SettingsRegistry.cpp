// The registry half of Settings: one value per item under REGKEY \ RegSubKey.
#include "settings/Settings.h"

#include "settings/SettingValue.h"

#include <QtEndian>

using namespace winreg;

namespace {

QByteArray DwordBytes(int32_t value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian<int32_t>(value, bytes.data());
    return bytes;
}

// The first four bytes as a little-endian integer; shorter data is padded with zeros.
int32_t DwordFrom(const QByteArray& data)
{
    char bytes[4] = {0, 0, 0, 0};
    std::copy_n(data.constData(), std::min<qsizetype>(4, data.size()), bytes);
    return qFromLittleEndian<int32_t>(bytes);
}

QString TextFrom(QByteArray data)
{
    if (data.endsWith('\0'))
        data.chop(1);
    return QString::fromUtf8(data);
}

} // namespace

QString Settings::RegistryName(const SettingItem& item)
{
    if (!item.savetype)
        return item.Name;
    return u'(' + QString(SettingItem::TagOf(item.nType)) + u')' + item.Name;
}

bool Settings::openKeyForWriting(HKEY* key)
{
    Registry& reg = registry();
    if (reg.OpenKeyEx(REGKEY, RegSubKey, KEY_ALL_ACCESS, key) == ERROR_SUCCESS)
        return true;
    return reg.CreateKeyEx(REGKEY, RegSubKey, KEY_ALL_ACCESS, key) == ERROR_SUCCESS;
}

bool Settings::writeItem(HKEY key, const SettingItem& item)
{
    QByteArray data;
    uint32_t type = REG_NONE;
    switch (item.nType) {
    case SettingNumber: {
        const auto number = SettingValue::ToInt32(item.Value);
        if (!number)
            return false;
        type = REG_DWORD;
        data = DwordBytes(*number);
        break;
    }
    case SettingBoolean: {
        const auto flag = SettingValue::ToBool(item.Value);
        if (!flag)
            return false;
        type = REG_DWORD;
        data = DwordBytes(*flag ? 1 : 0);
        break;
    }
    case SettingString:
        type = REG_SZ;
        data = SettingValue::Text(item.Value).toUtf8();
        break;
    default:
        return false;
    }
    return registry().SetValueEx(key, RegistryName(item), type, data) == ERROR_SUCCESS;
}

void Settings::readItemFromRegistry(const QString& valueName, uint32_t regType,
                                    const QByteArray& data)
{
    QString name = valueName;
    int32_t type = SettingString;
    bool tagged = false;
    if (valueName.size() >= 3 && valueName[0] == u'(' && valueName[2] == u')') {
        type = SettingItem::TypeOfTag(valueName[1]);
        name = valueName.mid(3);
        tagged = true;
    }
    QVariant value = SettingItem::EmptyValueOf(type);
    switch (type) {
    case SettingNumber:
        value = DwordFrom(data);
        break;
    case SettingBoolean:
        if (regType == REG_DWORD)
            value = DwordFrom(data) != 0;
        else if (const auto flag = SettingValue::ToBool(TextFrom(data)))
            value = *flag;
        break;
    default:
        value = TextFrom(data);
        break;
    }
    const bool present = ExistSetting(name);
    const auto item = AddSetting(name, value, type);
    if (!present)
        item->savetype = tagged;
}

void Settings::LoadReg(bool clearAlreadyLoaded)
{
    if (clearAlreadyLoaded)
        ClearSettings();
    Registry& reg = registry();
    HKEY key = 0;
    if (reg.OpenKeyEx(REGKEY, RegSubKey, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return;
    uint32_t count = 0;
    if (reg.QueryInfoKey(key, &count, nullptr, nullptr) == ERROR_SUCCESS) {
        for (uint32_t i = 0; i < count; ++i) {
            QString name;
            uint32_t type = REG_NONE;
            QByteArray data;
            if (reg.EnumValue(key, i, &name, &type, &data) != ERROR_SUCCESS)
                continue;
            readItemFromRegistry(name, type, data);
        }
    }
    reg.CloseKey(key);
}

bool Settings::SaveReg(bool clearKey)
{
    HKEY key = 0;
    if (!openKeyForWriting(&key)) {
        emit SaveFail();
        return false;
    }
    if (clearKey)
        ClearKey(key);
    // A copy: a Changed handler may add or remove items while the values are written.
    const auto items = m_items;
    for (const auto& item : items)
        writeItem(key, *item);
    registry().CloseKey(key);
    return true;
}

bool Settings::SaveSettingReg(const QString& settingName, HKEY customKey)
{
    HKEY key = customKey;
    if (!key && !openKeyForWriting(&key))
        return false;
    bool written = false;
    if (const auto item = Item(settingName))
        written = writeItem(key, *item);
    registry().CloseKey(key);
    return written;
}

QString Settings::GetRegSingleStringSetting(const QString& settingName)
{
    Registry& reg = registry();
    HKEY key = 0;
    if (reg.OpenKeyEx(REGKEY, RegSubKey, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return QString();
    QString result;
    const QString names[] = {QStringLiteral("(B)") + settingName,
                             QStringLiteral("(N)") + settingName,
                             QStringLiteral("(S)") + settingName, settingName};
    for (const QString& name : names) {
        QByteArray data;
        if (reg.QueryValueEx(key, name, nullptr, &data) == ERROR_SUCCESS)
            result = TextFrom(data);
    }
    reg.CloseKey(key);
    return result;
}

void Settings::ClearKey(HKEY key)
{
    Registry& reg = registry();
    QString name;
    // Stops as well when a value refuses to go, rather than spinning on it.
    while (reg.EnumValue(key, 0, &name, nullptr, nullptr) == ERROR_SUCCESS) {
        if (reg.DeleteValue(key, name) != ERROR_SUCCESS)
            break;
    }
}
