#pragma once

#include <QVariant>

#include <optional>

class QObject;

// How the store reaches the controls bound to its settings. The store itself links Qt Core
// only, so it knows controls by class name and property; a widget-aware access (see
// WidgetControlAccess) adds what the property system cannot see, such as a check box's grey
// third state.
class ControlAccess
{
public:
    enum class Kind { CheckBox, MenuItem, TextBox, Other };

    virtual ~ControlAccess();

    virtual Kind KindOf(const QObject* control) const;
    // The check box's value: 0 clear, 1 checked, 2 grey. nullopt when it cannot be read.
    virtual std::optional<int> CheckBoxValue(const QObject* control) const;
    virtual bool SetCheckBoxValue(QObject* control, int value) const;

    // A property by name, folded into the store's value kinds; nullopt when the control has
    // no such property or its value has no kind the store holds.
    std::optional<QVariant> ReadProperty(const QObject* control, const char* name) const;
    // Only properties the control already has; a dynamic one is never created by a typo.
    bool WriteProperty(QObject* control, const char* name, const QVariant& value) const;
};
