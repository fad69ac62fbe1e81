#include "settings/Settings.h"

#include <gtest/gtest.h>

TEST(SettingsStore, NamesIgnoreCaseAndASetConvertsByTheTypeGiven)
{
    Settings store;
    store.AddSetting(QStringLiteral("VOLUME"), 50);
    store.AddSetting(QStringLiteral("volume"), 10);
    EXPECT_EQ(store.SettingCount(), 1);
    EXPECT_EQ(store.GetSetting(QStringLiteral("VOLUME")), QVariant(50));
    store.SetSetting(QStringLiteral("volume"), QStringLiteral("75 percent"));
    EXPECT_EQ(store.GetSetting(QStringLiteral("Volume")), QVariant(75.0));

    // A set converts by the type given but the item keeps its own.
    store.AddSetting(QStringLiteral("N"), 5);
    store.SetSetting(QStringLiteral("N"), true, SettingUndecided);
    EXPECT_EQ(store.GetSetting(QStringLiteral("N")), QVariant(0.0));   // "True" has no number
    store.SetSetting(QStringLiteral("N"), QStringLiteral("abc"), SettingUndecided);
    EXPECT_EQ(store.GetSetting(QStringLiteral("N")), QVariant(QStringLiteral("abc")));
    EXPECT_EQ(store.GetSettingType(QStringLiteral("N")), SettingNumber);

    store.AddSetting(QStringLiteral("B"), false, SettingBoolean);
    store.SetSetting(QStringLiteral("B"), QStringLiteral("TRUE"), SettingBoolean);
    EXPECT_EQ(store.GetSetting(QStringLiteral("B")), QVariant(true));
    store.SetSetting(QStringLiteral("B"), QStringLiteral("perhaps"), SettingBoolean);
    EXPECT_EQ(store.GetSetting(QStringLiteral("B")), QVariant(true));   // failed: unchanged
    store.SetSetting(QStringLiteral("B"), 0.5, SettingString);
    EXPECT_EQ(store.GetSetting(QStringLiteral("B")), QVariant(QStringLiteral("0.5")));

    EXPECT_EQ(store.GetSettingType(QStringLiteral("missing")), SettingUndecided);
    EXPECT_EQ(store.GetSetting(QStringLiteral("missing"), 7), QVariant(7));
    EXPECT_EQ(store.AddSetting(QStringLiteral("E"), {}, SettingBoolean)->Value, QVariant(false));
}
