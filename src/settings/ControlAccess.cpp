#include "settings/ControlAccess.h"

#include "settings/SettingValue.h"

#include <QByteArray>
#include <QMetaProperty>
#include <QObject>

ControlAccess::~ControlAccess() = default;

ControlAccess::Kind ControlAccess::KindOf(const QObject* control) const
{
    if (control->inherits("QCheckBox"))
        return Kind::CheckBox;
    if (control->inherits("QAction"))
        return Kind::MenuItem;
    if (control->inherits("QLineEdit"))
        return Kind::TextBox;
    return Kind::Other;
}

std::optional<int> ControlAccess::CheckBoxValue(const QObject* control) const
{
    // Without the widget library only the checked flag is visible; grey reads as checked.
    const QVariant checked = control->property("checked");
    if (!checked.isValid())
        return std::nullopt;
    return checked.toBool() ? 1 : 0;
}

bool ControlAccess::SetCheckBoxValue(QObject* control, int value) const
{
    return control->setProperty("checked", value != 0);
}

std::optional<QVariant> ControlAccess::ReadProperty(const QObject* control, const char* name) const
{
    const QVariant raw = control->property(name);
    if (!raw.isValid())
        return std::nullopt;
    return SettingValue::Normalised(raw);
}

bool ControlAccess::WriteProperty(QObject* control, const char* name, const QVariant& value) const
{
    const QMetaObject* meta = control->metaObject();
    const int index = meta->indexOfProperty(name);
    if (index < 0) {
        if (!control->dynamicPropertyNames().contains(QByteArray(name)))
            return false;
        return !control->setProperty(name, value);   // dynamic: setProperty answers false
    }
    const QMetaProperty property = meta->property(index);
    if (!property.isWritable())
        return false;
    QVariant converted = value;
    // An empty value means "nothing": give the property its type's own empty value.
    if (!converted.isValid())
        converted = QVariant(property.metaType());
    else if (converted.metaType() != property.metaType() && !converted.convert(property.metaType()))
        return false;
    return property.write(control, converted);
}
