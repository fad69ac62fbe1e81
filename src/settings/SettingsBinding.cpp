// Binding settings to controls: a bound setting always reads its control's current state.
#include "settings/Settings.h"

#include "settings/SettingValue.h"

void Settings::BindControl(const QString& settingName, QObject* control, int32_t settingType,
                           const QString& nonStandardControlProperty)
{
    if (const auto item = Item(settingName)) {
        item->Control = control;
        item->ControlProp = nonStandardControlProperty;
    } else {
        AddSetting(settingName, QVariant(), settingType, control, nonStandardControlProperty);
    }
    ApplyToControls(settingName);
}

QList<std::shared_ptr<SettingItem>> Settings::selectedItems(const QString& setting) const
{
    const QString name = setting.trimmed();
    if (name.isEmpty())
        return m_items;
    if (const auto item = Item(name))
        return {item};
    return {};
}

void Settings::applyToControl(SettingItem& item)
{
    QObject* control = item.Control;
    if (!control)
        return;
    switch (m_controls->KindOf(control)) {
    case ControlAccess::Kind::CheckBox:
        if (item.nType == SettingBoolean) {
            if (const auto flag = SettingValue::ToBool(item.Value))
                m_controls->SetCheckBoxValue(control, *flag ? 1 : 0);
        }
        break;
    case ControlAccess::Kind::MenuItem:
        if (item.nType == SettingBoolean) {
            if (const auto flag = SettingValue::ToBool(item.Value))
                m_controls->WriteProperty(control, "checked", *flag);
        }
        break;
    case ControlAccess::Kind::TextBox:
        m_controls->WriteProperty(control, "text", SettingValue::Text(item.Value));
        break;
    case ControlAccess::Kind::Other:
        if (!item.ControlProp.isEmpty())
            m_controls->WriteProperty(control, item.ControlProp.toUtf8().constData(), item.Value);
        break;
    }
}

void Settings::retrieveFromControl(SettingItem& item)
{
    QObject* control = item.Control;
    if (!control)
        return;
    std::optional<QVariant> read;
    switch (m_controls->KindOf(control)) {
    case ControlAccess::Kind::CheckBox:
        if (item.nType == SettingBoolean) {
            if (const auto state = m_controls->CheckBoxValue(control))
                read = QVariant(*state == 1);
        }
        break;
    case ControlAccess::Kind::MenuItem:
        if (item.nType == SettingBoolean) {
            if (const auto checked = m_controls->ReadProperty(control, "checked"))
                read = QVariant(checked->toBool());
        }
        break;
    case ControlAccess::Kind::TextBox:
        if (const auto text = m_controls->ReadProperty(control, "text"))
            read = QVariant(text->toString());
        break;
    case ControlAccess::Kind::Other:
        if (!item.ControlProp.isEmpty())
            read = m_controls->ReadProperty(control, item.ControlProp.toUtf8().constData());
        break;
    }
    if (!read)
        return;
    const QVariant old = item.Value;
    item.Value = *read;
    if (!SettingValue::Equal(old, item.Value))
        emit Changed(item.Name, item.Value, item.nType);
}

void Settings::ApplyToControls(const QString& setting)
{
    for (const auto& item : selectedItems(setting))
        applyToControl(*item);
}

void Settings::RetrieveFromControls(const QString& setting)
{
    for (const auto& item : selectedItems(setting))
        retrieveFromControl(*item);
}

void Settings::UnbindAllControls()
{
    for (const auto& item : std::as_const(m_items)) {
        item->Control = nullptr;
        item->ControlProp.clear();
    }
}

QString Settings::FindNameByValue(const QVariant& value, bool caseSensitive) const
{
    for (const auto& item : m_items) {
        if (item->nType == SettingString && !caseSensitive) {
            if (SettingValue::Text(item->Value).toUpper() == SettingValue::Text(value).toUpper())
                return item->Name;
        } else if (item->nType == SettingString) {
            if (SettingValue::Text(item->Value) == SettingValue::Text(value))
                return item->Name;
        } else if (SettingValue::Equal(item->Value, value)) {
            return item->Name;
        }
    }
    return QString();
}
