#include "controls/PropertyBag.h"

QVariant PropertyBag::ReadProperty(const QString& name, const QVariant& defaultValue) const
{
    const auto found = m_values.constFind(name);
    if (found == m_values.constEnd())
        return defaultValue;
    // A stored value of the wrong kind (a hand-edited form) falls back to the default.
    if (defaultValue.isValid() && !found->canConvert(defaultValue.metaType()))
        return defaultValue;
    return *found;
}

void PropertyBag::WriteProperty(const QString& name, const QVariant& value,
                                const QVariant& defaultValue)
{
    if (defaultValue.isValid() && value == defaultValue) {
        m_values.remove(name);
        m_order.removeAll(name);
        return;
    }
    if (!m_values.contains(name))
        m_order.append(name);
    m_values.insert(name, value);
}

void PropertyBag::Clear()
{
    m_values.clear();
    m_order.clear();
}
