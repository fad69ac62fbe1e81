#pragma once

#include <QString>
#include <QVariant>
#include <QVariantMap>

// The store a form fills with a control's design-time properties: names map to plain values.
// A value equal to its default is not written, so a bag holds only what differs, and reading a
// missing name gives the default back.
class PropertyBag
{
public:
    QVariant ReadProperty(const QString& name, const QVariant& defaultValue = {}) const;
    void WriteProperty(const QString& name, const QVariant& value,
                       const QVariant& defaultValue = {});

    bool Contains(const QString& name) const { return m_values.contains(name); }
    QStringList Names() const { return m_order; }
    void Clear();

private:
    QVariantMap m_values;
    QStringList m_order; // writing order: a saved form lists them as the control wrote them
};
