#pragma once

#include "settings/ControlAccess.h"

// Control access for programs that link the widget library: reads and sets a QCheckBox's
// full check state, so a grey box reads as 2 rather than as checked.
class WidgetControlAccess : public ControlAccess
{
public:
    std::optional<int> CheckBoxValue(const QObject* control) const override;
    bool SetCheckBoxValue(QObject* control, int value) const override;
};
