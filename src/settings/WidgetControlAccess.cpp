#include "settings/WidgetControlAccess.h"

#include <QCheckBox>

std::optional<int> WidgetControlAccess::CheckBoxValue(const QObject* control) const
{
    if (const auto* box = qobject_cast<const QCheckBox*>(control))
        return int(box->checkState());
    return ControlAccess::CheckBoxValue(control);
}

bool WidgetControlAccess::SetCheckBoxValue(QObject* control, int value) const
{
    auto* box = qobject_cast<QCheckBox*>(control);
    if (!box)
        return ControlAccess::SetCheckBoxValue(control, value);
    if (value < 0 || value > 2)
        return false;
    box->setCheckState(Qt::CheckState(value));
    return true;
}
