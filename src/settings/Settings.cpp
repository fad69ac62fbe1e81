#include "settings/Settings.h"

#include "settings/SettingValue.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {

// The program's folder and executable name, ".INI" instead of any extension.
QString DefaultIniPath()
{
    if (!QCoreApplication::instance())
        return QString();
    const QFileInfo exe(QCoreApplication::applicationFilePath());
    QString folder = QCoreApplication::applicationDirPath();
    if (!folder.endsWith(u'/'))
        folder += u'/';
    return folder + exe.completeBaseName() + QStringLiteral(".INI");
}

} // namespace

Settings::Settings(QObject* parent)
    : QObject(parent), Filename(DefaultIniPath()), m_controls(std::make_shared<ControlAccess>())
{
}

Settings::~Settings() = default;

void Settings::SetRegistry(std::shared_ptr<Registry> registry) { m_registry = std::move(registry); }

Registry& Settings::registry()
{
    if (!m_registry)
        m_registry = std::make_shared<Registry>();
    return *m_registry;
}

void Settings::SetControlAccess(std::shared_ptr<const ControlAccess> access)
{
    if (access)
        m_controls = std::move(access);
}

std::shared_ptr<SettingItem> Settings::AddSetting(const QString& name, const QVariant& value,
                                                  int32_t settingType, QObject* control,
                                                  const QString& nonStandardControlProperty)
{
    auto item = std::make_shared<SettingItem>();
    item->Name = name;
    item->Value = value.isValid() ? value : SettingItem::EmptyValueOf(settingType);
    item->nType = settingType;
    item->Control = control;
    item->ControlProp = nonStandardControlProperty;
    // A name already present keeps its item; the caller still gets the new, unlisted one.
    if (!m_byName.contains(KeyOf(name))) {
        m_items.append(item);
        m_byName.insert(KeyOf(name), item);
    }
    emit Changed(name, item->Value, settingType);
    return item;
}

void Settings::SetSetting(const QString& name, const QVariant& value, int32_t settingType,
                          QObject*, const QString&, bool save)
{
    const auto item = Item(name);
    if (!item) {
        AddSetting(name, value, settingType);
        emit Changed(name, value, settingType);
    } else {
        const QVariant old = item->Value;
        int32_t type = settingType;
        if (type == SettingUndecided)
            type = SettingValue::IsNumeric(value) ? SettingNumber : SettingString;
        switch (type) {
        case SettingNumber:
            if (const auto number = SettingValue::LeadingNumber(value))
                item->Value = *number;
            break;
        case SettingString:
            item->Value = SettingValue::Text(value);
            break;
        case SettingBoolean:
            if (const auto flag = SettingValue::ToBool(value))
                item->Value = *flag;
            break;
        default:
            break;
        }
        if (!SettingValue::Equal(old, item->Value))
            emit Changed(name, item->Value, settingType);
    }
    if (save)
        SaveSettingReg(name);
}

QVariant Settings::GetSetting(const QString& name, const QVariant& defaultValue)
{
    const auto item = Item(name);
    if (!item)
        return defaultValue;
    if (item->Control)
        RetrieveFromControls(name);
    return item->Value;
}

QVariant Settings::DefaultSetting(const QString& name, const QVariant& defaultValue,
                                  int32_t settingType)
{
    const QVariant v = GetSetting(name, defaultValue);
    SetSetting(name, v, settingType);
    return v;
}

bool Settings::ExistSetting(const QString& name) const { return m_byName.contains(KeyOf(name)); }

int32_t Settings::GetSettingType(const QString& name) const
{
    const auto item = Item(name);
    return item ? item->nType : SettingUndecided;
}

void Settings::RemoveSetting(const QString& name, bool saveReg)
{
    if (saveReg) {
        Registry& reg = registry();
        winreg::HKEY key = 0;
        if (reg.OpenKeyEx(REGKEY, RegSubKey, winreg::KEY_ALL_ACCESS, &key) == winreg::ERROR_SUCCESS) {
            const QChar tag = SettingItem::TagOf(GetSettingType(name));
            reg.DeleteValue(key, u'(' + QString(tag) + u')' + name);
            reg.DeleteValue(key, name);
            reg.CloseKey(key);
        }
    }
    const auto item = m_byName.take(KeyOf(name));
    if (item)
        m_items.removeOne(item);
}

void Settings::ClearSettings()
{
    m_items.clear();
    m_byName.clear();
}

int Settings::SettingCount() const { return int(m_items.size()); }

QVariant Settings::GetSettingByIndex(int index, const QVariant& defaultValue) const
{
    if (index < 1 || index > m_items.size())
        return defaultValue;
    return m_items[index - 1]->Value;
}

QString Settings::GetNameFromIndex(int index) const
{
    if (index < 1 || index > m_items.size())
        return QString();
    return m_items[index - 1]->Name;
}

std::shared_ptr<SettingItem> Settings::Item(const QString& name) const
{
    return m_byName.value(KeyOf(name));
}
