#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>

#include <cstdint>

// The kinds of setting; the persisted forms carry them as one-letter tags.
enum SettingType : int32_t {
    SettingNumber = 0,
    SettingString = 1,
    SettingBoolean = 2,
    SettingUndecided = 3,
};

// One setting of the store. Plain data: the store owns the rules.
class SettingItem
{
public:
    QString Name;
    QVariant Value;
    int32_t nType = SettingString;
    // Guarded: a control destroyed while bound reads as no control.
    QPointer<QObject> Control;
    QString ControlProp;
    // Whether the registry value name carries the type tag.
    bool savetype = true;

    // "N", "S", "B"; "?" for any other type.
    static QChar TagOf(int32_t type);
    // "N" is a number, "B" a Boolean, every other letter a string. Case matters.
    static int32_t TypeOfTag(QChar tag);
    // 0, "" , False; empty for any other type.
    static QVariant EmptyValueOf(int32_t type);
};
