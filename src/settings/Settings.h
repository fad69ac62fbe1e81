#pragma once

#include "platform/Registry.h"
#include "settings/ControlAccess.h"
#include "settings/SettingItem.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QVariant>

#include <memory>

// A small store of named, typed values, persisted in one registry key or an INI-style file,
// with optional binding of settings to controls. Names are matched without regard to case.
// Nothing here reports an error to the caller: a failing step is skipped and the value or
// result falls back to its default; saving failures raise SaveFail. UI thread only; events are
// raised synchronously inside the operation that causes them.
class Settings : public QObject
{
    Q_OBJECT

public:
    explicit Settings(QObject* parent = nullptr);
    ~Settings() override;

    // INI file path; by default the program's folder and name with ".INI".
    QString Filename;
    // Registry root (winreg::HKEY_LOCAL_MACHINE, ...) and the key below it.
    winreg::HKEY REGKEY = 0;
    QString RegSubKey;

    // The registry used by the Reg operations; by default the one at RegistryDatabase's path,
    // opened on first use.
    void SetRegistry(std::shared_ptr<Registry> registry);
    Registry& registry();
    // Replaces the property-only access by a widget-aware one (see WidgetControlAccess).
    void SetControlAccess(std::shared_ptr<const ControlAccess> access);

    std::shared_ptr<SettingItem> AddSetting(const QString& name, const QVariant& value = {},
                                            int32_t settingType = SettingNumber,
                                            QObject* control = nullptr,
                                            const QString& nonStandardControlProperty = {});
    void SetSetting(const QString& name, const QVariant& value,
                    int32_t settingType = SettingNumber, QObject* control = nullptr,
                    const QString& nonStandardControlProperty = {}, bool save = false);
    QVariant GetSetting(const QString& name, const QVariant& defaultValue = {});
    QVariant DefaultSetting(const QString& name, const QVariant& defaultValue,
                            int32_t settingType = SettingNumber);
    bool ExistSetting(const QString& name) const;
    int32_t GetSettingType(const QString& name) const;
    void RemoveSetting(const QString& name, bool saveReg = false);
    void ClearSettings();
    int SettingCount() const;
    // Positions are 1-based.
    QVariant GetSettingByIndex(int index, const QVariant& defaultValue = {}) const;
    QString GetNameFromIndex(int index) const;
    // The item itself, for callers that need its fields; null when absent.
    std::shared_ptr<SettingItem> Item(const QString& name) const;

    void LoadReg(bool clearAlreadyLoaded = false);
    bool SaveReg(bool clearKey = false);
    bool SaveSettingReg(const QString& settingName, winreg::HKEY customKey = 0);
    QString GetRegSingleStringSetting(const QString& settingName);
    void ClearKey(winreg::HKEY key);

    void Load(const QString& file = {});
    void Save(const QString& file = {});

    void BindControl(const QString& settingName, QObject* control,
                     int32_t settingType = SettingNumber,
                     const QString& nonStandardControlProperty = {});
    void ApplyToControls(const QString& setting = {});
    void RetrieveFromControls(const QString& setting = {});
    void UnbindAllControls();
    QString FindNameByValue(const QVariant& value, bool caseSensitive = false) const;

signals:
    void Changed(const QString& settingName, const QVariant& newValue, int32_t settingType);
    void SaveFail();

private:
    static QString KeyOf(const QString& name) { return name.toCaseFolded(); }
    // The registry value name of an item: tagged unless the item was loaded untagged.
    static QString RegistryName(const SettingItem& item);
    bool openKeyForWriting(winreg::HKEY* key);
    bool writeItem(winreg::HKEY key, const SettingItem& item);
    void readItemFromRegistry(const QString& valueName, uint32_t regType, const QByteArray& data);
    QList<std::shared_ptr<SettingItem>> selectedItems(const QString& setting) const;
    void applyToControl(SettingItem& item);
    void retrieveFromControl(SettingItem& item);

    QList<std::shared_ptr<SettingItem>> m_items;
    QHash<QString, std::shared_ptr<SettingItem>> m_byName;
    std::shared_ptr<Registry> m_registry;
    std::shared_ptr<const ControlAccess> m_controls;
};
