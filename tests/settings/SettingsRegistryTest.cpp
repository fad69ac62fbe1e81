#include "settings/Settings.h"

#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

using namespace winreg;

namespace {

const QString AppKey = QStringLiteral("Software\\Tavrell\\Veltrix");

class SettingsRegistryTest : public ::testing::Test
{
protected:
    std::unique_ptr<Settings> makeStore(std::shared_ptr<Registry> registry = nullptr)
    {
        auto store = std::make_unique<Settings>();
        store->SetRegistry(registry ? registry : m_registry);
        store->REGKEY = HKEY_LOCAL_MACHINE;
        store->RegSubKey = AppKey;
        return store;
    }
    void putRaw(const QString& name, uint32_t type, const QByteArray& data)
    {
        HKEY key = 0;
        ASSERT_EQ(m_registry->CreateKeyEx(HKEY_LOCAL_MACHINE, AppKey, KEY_ALL_ACCESS, &key),
                  ERROR_SUCCESS);
        ASSERT_EQ(m_registry->SetValueEx(key, name, type, data), ERROR_SUCCESS);
        m_registry->CloseKey(key);
    }
    std::optional<std::pair<uint32_t, QByteArray>> raw(const QString& name)
    {
        HKEY key = 0;
        if (m_registry->OpenKeyEx(HKEY_LOCAL_MACHINE, AppKey, KEY_READ, &key) != ERROR_SUCCESS)
            return std::nullopt;
        uint32_t type = 0;
        QByteArray data("junk");   // a read must replace what the buffer held
        const LSTATUS rc = m_registry->QueryValueEx(key, name, &type, &data);
        m_registry->CloseKey(key);
        if (rc != ERROR_SUCCESS)
            return std::nullopt;
        return std::make_pair(type, data);
    }
    static QByteArray Dword(int32_t v)
    {
        QByteArray b(4, '\0');
        qToLittleEndian(v, b.data());
        return b;
    }

    QTemporaryDir m_dir;
    std::shared_ptr<Registry> m_registry =
        std::make_shared<Registry>(m_dir.filePath(QStringLiteral("registry.db")));
    std::unique_ptr<Settings> m_store = makeStore();
};

} // namespace

TEST_F(SettingsRegistryTest, DeclaringKeepsStoredValuesAndAddsDefaults)
{
    putRaw(QStringLiteral("(N)VOLUME"), REG_DWORD, Dword(70));
    m_store->LoadReg();
    EXPECT_EQ(m_store->DefaultSetting(QStringLiteral("VOLUME"), 50, SettingNumber).toInt(), 70);
    EXPECT_EQ(m_store->DefaultSetting(QStringLiteral("MUTE"), false, SettingBoolean), false);
    EXPECT_EQ(m_store->GetSetting(QStringLiteral("Volume")).toDouble(), 70.0);

    EXPECT_EQ(m_store->SettingCount(), 2);
}

TEST_F(SettingsRegistryTest, ValueEncodingsRoundTrip)
{
    m_store->AddSetting(QStringLiteral("VOLUME"), 2.5, SettingNumber);
    m_store->AddSetting(QStringLiteral("ODD"), 3.5, SettingNumber);
    m_store->AddSetting(QStringLiteral("HUGE"), 1e12, SettingNumber);
    m_store->AddSetting(QStringLiteral("MUTE"), true, SettingBoolean);
    m_store->AddSetting(QStringLiteral("PATHSUBS"), QString(), SettingString);
    m_store->AddSetting(QStringLiteral("TITLE"), QStringLiteral("Ünïcode"), SettingString);
    m_store->AddSetting(QStringLiteral("UNDECIDED"), 1, SettingUndecided);
    ASSERT_TRUE(m_store->SaveReg());

    EXPECT_EQ(raw(QStringLiteral("(N)VOLUME")), std::make_pair(REG_DWORD, Dword(2)));   // to even
    EXPECT_EQ(raw(QStringLiteral("(N)ODD")), std::make_pair(REG_DWORD, Dword(4)));
    EXPECT_FALSE(raw(QStringLiteral("(N)HUGE")));     // does not fit: the write is skipped
    EXPECT_EQ(raw(QStringLiteral("(B)MUTE")), std::make_pair(REG_DWORD, Dword(1)));
    EXPECT_EQ(raw(QStringLiteral("(S)PATHSUBS")), std::make_pair(REG_SZ, QByteArray()));
    EXPECT_FALSE(raw(QStringLiteral("(?)UNDECIDED")));

    auto fresh = makeStore();
    fresh->LoadReg();
    EXPECT_EQ(fresh->GetSetting(QStringLiteral("mute")), QVariant(true));
    EXPECT_EQ(fresh->GetSetting(QStringLiteral("PATHSUBS")), QVariant(QString()));
    EXPECT_EQ(fresh->GetSetting(QStringLiteral("TITLE")), QVariant(QStringLiteral("Ünïcode")));
    EXPECT_EQ(fresh->GetSetting(QStringLiteral("VOLUME")), QVariant(2));
}

TEST_F(SettingsRegistryTest, HandWrittenValuesLoadByTheirTag)
{
    putRaw(QStringLiteral("(B)AOT"), REG_SZ, "True");
    putRaw(QStringLiteral("(B)ODD"), REG_SZ, "maybe");
    putRaw(QStringLiteral("(B)NUM"), REG_SZ, QByteArray("0\0", 2));
    putRaw(QStringLiteral("(N)SHORT"), REG_BINARY, QByteArray("\x05", 1));
    putRaw(QStringLiteral("(S)NUL"), REG_SZ, QByteArray("text\0", 5));
    putRaw(QStringLiteral("Plain"), REG_SZ, "bare");
    m_store->LoadReg();
    EXPECT_EQ(m_store->GetSetting(QStringLiteral("AOT")), QVariant(true));
    EXPECT_EQ(m_store->GetSetting(QStringLiteral("ODD")), QVariant(false));
    EXPECT_EQ(m_store->GetSetting(QStringLiteral("NUM")), QVariant(false));
    EXPECT_EQ(m_store->GetSetting(QStringLiteral("SHORT")), QVariant(5));
    EXPECT_EQ(m_store->GetSetting(QStringLiteral("NUL")), QVariant(QStringLiteral("text")));
    EXPECT_EQ(m_store->GetSettingType(QStringLiteral("Plain")), SettingString);

    // The untagged value is written back untagged; nothing appears under "(S)Plain".
    m_store->SetSetting(QStringLiteral("Plain"), QStringLiteral("changed"), SettingString);
    ASSERT_TRUE(m_store->SaveSettingReg(QStringLiteral("plain")));
    EXPECT_EQ(raw(QStringLiteral("Plain"))->second, "changed");
    EXPECT_FALSE(raw(QStringLiteral("(S)Plain")));
    EXPECT_FALSE(m_store->SaveSettingReg(QStringLiteral("Absent")));
}

// A registry that cannot be written reports the failure and keeps the settings in memory.
TEST_F(SettingsRegistryTest, UnwritableRegistryFailsTheSaveAndKeepsTheSettings)
{
    auto broken = makeStore(std::make_shared<Registry>(QStringLiteral("/proc/version/r.db")));
    broken->AddSetting(QStringLiteral("A"), 1);
    EXPECT_FALSE(broken->SaveReg());
    EXPECT_FALSE(broken->SaveSettingReg(QStringLiteral("A")));
    broken->LoadReg();
    EXPECT_EQ(broken->SettingCount(), 1);
}
