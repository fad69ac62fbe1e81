#include "platform/Registry.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace winreg;

namespace {

const QString AppKey = QStringLiteral("Software\\Tavrell\\Veltrix");

class RegistryTest : public ::testing::Test
{
protected:
    QString dbPath() const { return m_dir.filePath(QStringLiteral("registry.db")); }
    HKEY create(Registry& reg, const QString& path, uint32_t access = KEY_ALL_ACCESS)
    {
        HKEY key = 0;
        EXPECT_EQ(reg.CreateKeyEx(HKEY_LOCAL_MACHINE, path, access, &key), ERROR_SUCCESS);
        return key;
    }
    LSTATUS openApp(Registry& reg, HKEY root = HKEY_LOCAL_MACHINE)
    {
        HKEY key = 0;
        return reg.OpenKeyEx(root, AppKey, KEY_READ, &key);
    }
    // After damage: the key can be made again, and a value written to it reads back.
    void expectUsable(Registry& reg)
    {
        const HKEY key = create(reg, AppKey);
        ASSERT_EQ(reg.SetValueEx(key, QStringLiteral("After"), REG_SZ, "ok"), ERROR_SUCCESS);
        QByteArray data;
        EXPECT_EQ(reg.QueryValueEx(key, QStringLiteral("After"), nullptr, &data), ERROR_SUCCESS);
        EXPECT_EQ(data, "ok");
    }
    QTemporaryDir m_dir;
};

} // namespace

TEST_F(RegistryTest, NamesIgnoreCaseEnumerateInFirstWriteOrderAndValuesKeepTheirBytes)
{
    Registry reg(dbPath());
    const HKEY key = create(reg, AppKey);
    for (const char* name : {"Zeta", "alpha", "Mid"})
        reg.SetValueEx(key, QLatin1String(name), REG_SZ, QByteArray(name));
    // Rewriting under another case replaces the value in place.
    const QByteArray binary("\0\x01\xff\0", 4);
    ASSERT_EQ(reg.SetValueEx(key, QStringLiteral("ZETA"), REG_BINARY, binary), ERROR_SUCCESS);
    ASSERT_EQ(reg.SetValueEx(key, QStringLiteral("mid"), REG_SZ, QByteArray()), ERROR_SUCCESS);

    Registry again(dbPath());
    HKEY other = 0;
    ASSERT_EQ(again.OpenKeyEx(HKEY_LOCAL_MACHINE, QStringLiteral("software\\TAVRELL\\veltrix\\"),
                              KEY_READ, &other), ERROR_SUCCESS);
    uint32_t count = 0, longestName = 0, longestData = 0;
    ASSERT_EQ(again.QueryInfoKey(other, &count, &longestName, &longestData), ERROR_SUCCESS);
    EXPECT_EQ(count, 3u);
    EXPECT_EQ(longestName, 5u);
    EXPECT_EQ(longestData, 5u);
    QStringList names;
    QString name;
    uint32_t type = 0;
    for (uint32_t i = 0; again.EnumValue(other, i, &name, &type, nullptr) == ERROR_SUCCESS; ++i)
        names << name;
    EXPECT_EQ(names, (QStringList{"Zeta", "alpha", "Mid"}));
    EXPECT_EQ(again.EnumValue(other, 3, &name, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
    QByteArray data;
    ASSERT_EQ(again.QueryValueEx(other, QStringLiteral("zeta"), &type, &data), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_BINARY);
    EXPECT_EQ(data, binary);
    ASSERT_EQ(again.QueryValueEx(other, QStringLiteral("MID"), &type, &data), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(data.size(), 0);
}

TEST_F(RegistryTest, KeysRootsAccessAndDeletion)
{
    Registry reg(dbPath());
    EXPECT_EQ(openApp(reg), ERROR_FILE_NOT_FOUND);
    const HKEY created = create(reg, AppKey);
    // Parents come into being with the key; the other root does not see it.
    HKEY key = 0;
    EXPECT_EQ(reg.OpenKeyEx(HKEY_LOCAL_MACHINE, QStringLiteral("Software\\Tavrell"), KEY_READ,
                            &key), ERROR_SUCCESS);
    EXPECT_EQ(openApp(reg, HKEY_CURRENT_USER), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(openApp(reg, 0x1234), ERROR_INVALID_HANDLE);

    HKEY readOnly = 0;
    ASSERT_EQ(reg.OpenKeyEx(HKEY_LOCAL_MACHINE, AppKey, KEY_QUERY_VALUE, &readOnly),
              ERROR_SUCCESS);
    EXPECT_EQ(reg.SetValueEx(readOnly, QStringLiteral("X"), REG_SZ, "x"), ERROR_ACCESS_DENIED);

    ASSERT_EQ(reg.SetValueEx(created, QStringLiteral("X"), REG_SZ, "x"), ERROR_SUCCESS);
    EXPECT_EQ(reg.DeleteValue(created, QStringLiteral("x")), ERROR_SUCCESS);
    EXPECT_EQ(reg.DeleteValue(created, QStringLiteral("x")), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(reg.QueryValueEx(readOnly, QStringLiteral("X"), nullptr, nullptr),
              ERROR_FILE_NOT_FOUND);

    EXPECT_EQ(reg.CloseKey(created), ERROR_SUCCESS);
    EXPECT_EQ(reg.CloseKey(created), ERROR_INVALID_HANDLE);
    EXPECT_EQ(reg.SetValueEx(created, QStringLiteral("X"), REG_SZ, "x"), ERROR_INVALID_HANDLE);
}

// Garbage is moved aside whole; a file cut in half is either moved aside too or read as far as
// it survives. Neither crashes, and both leave a registry that works.
TEST_F(RegistryTest, DamagedFilesNeverCrashAndEndUsable)
{
    {
        QFile garbage(dbPath());
        ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
        garbage.write(QByteArray(5000, 'G'));
    }
    {
        Registry reg(dbPath());
        EXPECT_EQ(openApp(reg), ERROR_FILE_NOT_FOUND);
        ASSERT_TRUE(reg.movedAsidePath().startsWith(dbPath() + QStringLiteral(".broken-")));
        QFile kept(reg.movedAsidePath());
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
        EXPECT_EQ(kept.readAll(), QByteArray(5000, 'G'));
        expectUsable(reg);
        const HKEY key = create(reg, AppKey);
        for (int i = 0; i < 200; ++i)
            reg.SetValueEx(key, QStringLiteral("V%1").arg(i), REG_BINARY, QByteArray(300, 'x'));
    }
    QFile::remove(dbPath() + QStringLiteral("-wal"));
    QFile::remove(dbPath() + QStringLiteral("-shm"));
    QFile file(dbPath());
    ASSERT_GT(file.size(), 8192);
    ASSERT_TRUE(file.resize(file.size() / 2));

    Registry reg(dbPath());
    const LSTATUS opened = openApp(reg);
    EXPECT_EQ(opened, reg.movedAsidePath().isEmpty() ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND);
    expectUsable(reg);
}
