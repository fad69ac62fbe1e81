#include "settings/Settings.h"

#include "TempFiles.h"

#include <QFileInfo>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(SettingsStore, AddAndSetRaiseChangedForNewValuesAndConvertByType)
{
    Settings store;
    QSignalSpy changed(&store, &Settings::Changed);
    const auto first = store.AddSetting(QStringLiteral("VOLUME"), 50);
    const auto duplicate = store.AddSetting(QStringLiteral("volume"), 10);
    EXPECT_EQ(changed.count(), 2);          // raised for the duplicate too
    EXPECT_NE(first, duplicate);
    EXPECT_EQ(store.SettingCount(), 1);
    EXPECT_EQ(store.GetSetting(QStringLiteral("VOLUME")), QVariant(50));

    changed.clear();
    store.SetSetting(QStringLiteral("NEW"), QStringLiteral("x"), SettingString);
    EXPECT_EQ(changed.count(), 2);          // once by the add, once by the set
    changed.clear();
    store.SetSetting(QStringLiteral("volume"), 50.0);
    EXPECT_EQ(changed.count(), 0);          // same value, no event
    store.SetSetting(QStringLiteral("volume"), QStringLiteral("75 percent"));
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed[0][0].toString(), QStringLiteral("volume"));
    EXPECT_EQ(changed[0][1], QVariant(75.0));

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

TEST(SettingsIni, SavesTaggedLinesReadsThemBackAndSkipsWhatIsNotASetting)
{
    TempFiles files;
    const QString path = files.path(QStringLiteral("veltrix.ini"));
    Settings store;
    store.AddSetting(QStringLiteral("VOLUME"), 50);
    store.AddSetting(QStringLiteral("RATE"), 23.976);
    store.AddSetting(QStringLiteral("MUTE"), true, SettingBoolean);
    store.AddSetting(QStringLiteral("PATH"), QStringLiteral("/home/u/Sub s"), SettingString);
    store.AddSetting(QStringLiteral("ODD"), {}, SettingUndecided);
    store.Save(path);
    EXPECT_EQ(ReadAll(path), QByteArray("(N)VOLUME=50\r\n(N)RATE=23.976\r\n(B)MUTE=True\r\n"
                                        "(S)PATH=/home/u/Sub s\r\n(?)ODD=\r\n"));

    Settings loaded;
    loaded.Load(path);
    EXPECT_EQ(loaded.GetSetting(QStringLiteral("rate")), QVariant(23.976));
    EXPECT_EQ(loaded.GetSetting(QStringLiteral("MUTE")), QVariant(true));
    EXPECT_EQ(loaded.GetSetting(QStringLiteral("PATH")), QVariant(QStringLiteral("/home/u/Sub s")));
    EXPECT_EQ(loaded.GetSettingType(QStringLiteral("ODD")), SettingString);

    // A hand-written file: what is not a setting is skipped, names are kept as written.
    const QString hand = files.write(QStringLiteral("hand.ini"),
                                     "; comment\r\n[Section]\r\n\r\n   \n(B)MUTE=maybe\nName = x \r"
                                     "(N)VOLUME= 12.5kg\r\nplain\r\n(N)VOLUME=99\r\n");
    Settings handWritten;
    QSignalSpy changed(&handWritten, &Settings::Changed);
    handWritten.Load(hand);
    EXPECT_EQ(handWritten.SettingCount(), 3);
    EXPECT_EQ(changed.count(), 4);          // the repeated VOLUME raises but does not replace
    EXPECT_EQ(handWritten.GetSetting(QStringLiteral("MUTE")), QVariant(false));
    EXPECT_TRUE(handWritten.ExistSetting(QStringLiteral("Name ")));
    EXPECT_FALSE(handWritten.ExistSetting(QStringLiteral("Name")));
    EXPECT_EQ(handWritten.GetSetting(QStringLiteral("Name ")), QVariant(QStringLiteral("x")));
    EXPECT_EQ(handWritten.GetSetting(QStringLiteral("VOLUME")), QVariant(12.5));

    // An untagged line is saved with the string tag.
    const QString out = files.path(QStringLiteral("out.ini"));
    handWritten.Save(out);
    EXPECT_TRUE(ReadAll(out).contains("(S)Name =x\r\n"));
}

TEST(SettingsIni, FailedSaveLeavesTheOldFileAndRaisesSaveFail)
{
    TempFiles files;
    Settings store;
    store.AddSetting(QStringLiteral("A"), 1);
    QSignalSpy failed(&store, &Settings::SaveFail);
    store.Save(files.path(QStringLiteral("missing-folder/x.ini")));
    EXPECT_EQ(failed.count(), 1);

    const QString path = files.write(QStringLiteral("kept.ini"), "(N)A=5\r\n");
    const QString dir = QFileInfo(path).path();
    QFile::setPermissions(dir, QFile::ReadOwner | QFile::ExeOwner);
    store.Save(path);
    QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (failed.count() == 2) {              // not when running as root
        EXPECT_EQ(ReadAll(path), "(N)A=5\r\n");
    }

    Settings quiet;
    quiet.Filename.clear();
    quiet.Load();                            // nothing to load from: nothing happens
    quiet.Load(files.path(QStringLiteral("absent.ini")));
    EXPECT_EQ(quiet.SettingCount(), 0);
}
