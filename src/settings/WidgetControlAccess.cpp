#include "settings/WidgetControlAccess.h"

#include <QCheckBox>

std::optional<int> WidgetControlAccess::CheckBoxValue(const QObject* control) const
{
    // Qt numbers the states clear, grey, checked; the store's values are clear, checked, grey.
    if (const auto* box = qobject_cast<const QCheckBox*>(control)) {
        switch (box->checkState()) {
        case Qt::Unchecked:
            return 0;
        case Qt::Checked:
            return 1;
        case Qt::PartiallyChecked:
            return 2;
        }
        return std::nullopt;
    }
    return ControlAccess::CheckBoxValue(control);
}

bool WidgetControlAccess::SetCheckBoxValue(QObject* control, int value) const
{
    auto* box = qobject_cast<QCheckBox*>(control);
    if (!box)
        return ControlAccess::SetCheckBoxValue(control, value);
    switch (value) {
    case 0:
        box->setCheckState(Qt::Unchecked);
        break;
    case 1:
        box->setCheckState(Qt::Checked);
        break;
    case 2:
        box->setCheckState(Qt::PartiallyChecked);
        break;
    default:
        return false;
    }
    return true;
}
