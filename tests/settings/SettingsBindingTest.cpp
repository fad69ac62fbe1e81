#include "settings/Settings.h"
#include "settings/WidgetControlAccess.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSpinBox>

#include <gtest/gtest.h>

namespace {

std::unique_ptr<Settings> WidgetStore()
{
    auto store = std::make_unique<Settings>();
    store->SetControlAccess(std::make_shared<WidgetControlAccess>());
    return store;
}

} // namespace

TEST(SettingsBinding, CheckBoxMenuItemTextBoxAndNamedPropertyCarryTheValueBothWays)
{
    auto store = WidgetStore();
    QCheckBox box;
    box.setChecked(true);
    store->BindControl(QStringLiteral("AOT"), &box, SettingBoolean);
    EXPECT_EQ(store->GetSetting(QStringLiteral("AOT")), QVariant(false));
    EXPECT_EQ(box.checkState(), Qt::Unchecked);

    box.setCheckState(Qt::Checked);
    EXPECT_EQ(store->GetSetting(QStringLiteral("aot")), QVariant(true));
    box.setTristate(true);
    box.setCheckState(Qt::PartiallyChecked);
    EXPECT_EQ(store->GetSetting(QStringLiteral("AOT")), QVariant(false));   // grey is not 1

    // A check box bound to a setting that is not Boolean is left alone both ways.
    store->AddSetting(QStringLiteral("VOLUME"), 50);
    QCheckBox other;
    other.setChecked(true);
    store->BindControl(QStringLiteral("VOLUME"), &other, SettingNumber);
    EXPECT_TRUE(other.isChecked());
    EXPECT_EQ(store->GetSetting(QStringLiteral("VOLUME")), QVariant(50));

    // A menu item, a text box and a property named at binding.
    store->AddSetting(QStringLiteral("MUTE"), true, SettingBoolean);
    QAction action;
    action.setCheckable(true);
    store->BindControl(QStringLiteral("MUTE"), &action, SettingBoolean);
    EXPECT_TRUE(action.isChecked());
    action.setChecked(false);
    EXPECT_EQ(store->GetSetting(QStringLiteral("MUTE")), QVariant(false));

    QLineEdit edit;
    store->BindControl(QStringLiteral("VOLUME"), &edit);
    EXPECT_EQ(edit.text(), QStringLiteral("50"));
    edit.setText(QStringLiteral("75"));
    EXPECT_EQ(store->GetSetting(QStringLiteral("VOLUME")), QVariant(QStringLiteral("75")));

    QSpinBox spin;
    spin.setRange(0, 100);
    store->AddSetting(QStringLiteral("DELAY"), 30);
    store->BindControl(QStringLiteral("DELAY"), &spin, SettingNumber, QStringLiteral("value"));
    EXPECT_EQ(spin.value(), 30);
    spin.setValue(40);
    EXPECT_EQ(store->GetSetting(QStringLiteral("DELAY")), QVariant(40));

    // A property the control lacks is ignored, and no dynamic property is invented.
    QSpinBox wrong;
    store->BindControl(QStringLiteral("DELAY"), &wrong, SettingNumber, QStringLiteral("valeu"));
    EXPECT_FALSE(wrong.property("valeu").isValid());
    EXPECT_EQ(store->GetSetting(QStringLiteral("DELAY")), QVariant(40));
}

TEST(SettingsBinding, RetrieveRaisesOnlyOnChangeUnbindStopsReadingAndNamesAreFoundByValue)
{
    auto store = WidgetStore();
    QLineEdit edit;
    store->BindControl(QStringLiteral("NAME"), &edit, SettingString);
    QSignalSpy changed(store.get(), &Settings::Changed);
    store->RetrieveFromControls();
    EXPECT_EQ(changed.count(), 0);
    edit.setText(QStringLiteral("typed"));
    store->RetrieveFromControls(QStringLiteral("  name  "));
    EXPECT_EQ(changed.count(), 1);

    store->UnbindAllControls();
    edit.setText(QStringLiteral("ignored"));
    EXPECT_EQ(store->GetSetting(QStringLiteral("NAME")), QVariant(QStringLiteral("typed")));

    // A control destroyed while bound reads as no control.
    auto* gone = new QLineEdit(QStringLiteral("x"));
    store->BindControl(QStringLiteral("GONE"), gone, SettingString);
    delete gone;
    EXPECT_EQ(store->GetSetting(QStringLiteral("GONE")), QVariant(QString()));

    // A name is found by its value.
    Settings plain;
    plain.AddSetting(QStringLiteral("VOLUME"), 50);
    plain.AddSetting(QStringLiteral("ENGINE"), QStringLiteral("mpv"), SettingString);
    EXPECT_EQ(plain.FindNameByValue(QStringLiteral("MPV")), QStringLiteral("ENGINE"));
    EXPECT_EQ(plain.FindNameByValue(QStringLiteral("MPV"), true), QString());
    EXPECT_EQ(plain.FindNameByValue(50.0), QStringLiteral("VOLUME"));
    EXPECT_EQ(plain.FindNameByValue(51), QString());
}

