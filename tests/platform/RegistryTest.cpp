#include "platform/Registry.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace winreg;

namespace {

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
    QTemporaryDir m_dir;
};

const QString AppKey = QStringLiteral("Software\\Tavrell\\Veltrix");

} // namespace

TEST_F(RegistryTest, KeepsExactBytesAndTypes)
{
    Registry reg(dbPath());
    const HKEY key = create(reg, AppKey);
    const QByteArray binary("\0\x01\xff\0", 4);
    ASSERT_EQ(reg.SetValueEx(key, QStringLiteral("Empty"), REG_SZ, QByteArray()), ERROR_SUCCESS);
    ASSERT_EQ(reg.SetValueEx(key, QStringLiteral("Bin"), REG_BINARY, binary), ERROR_SUCCESS);
    reg.CloseKey(key);

    Registry again(dbPath());
    HKEY read = 0;
    ASSERT_EQ(again.OpenKeyEx(HKEY_LOCAL_MACHINE, AppKey, KEY_READ, &read), ERROR_SUCCESS);
    QByteArray data("junk");
    uint32_t type = REG_NONE;
    ASSERT_EQ(again.QueryValueEx(read, QStringLiteral("Empty"), &type, &data), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(data.size(), 0);
    ASSERT_EQ(again.QueryValueEx(read, QStringLiteral("Bin"), &type, &data), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_BINARY);
    EXPECT_EQ(data, binary);
}

TEST_F(RegistryTest, NamesIgnoreCaseAndEnumerateInFirstWriteOrder)
{
    Registry reg(dbPath());
    const HKEY key = create(reg, AppKey);
    for (const char* name : {"Zeta", "alpha", "Mid"})
        reg.SetValueEx(key, QLatin1String(name), REG_SZ, QByteArray(name));
    // Rewriting under another case replaces the value in place.
    ASSERT_EQ(reg.SetValueEx(key, QStringLiteral("ZETA"), REG_DWORD, QByteArray(4, '\x07')),
              ERROR_SUCCESS);

    HKEY other = 0;
    ASSERT_EQ(reg.OpenKeyEx(HKEY_LOCAL_MACHINE, QStringLiteral("software\\TAVRELL\\veltrix\\"),
                            KEY_READ, &other), ERROR_SUCCESS);
    uint32_t count = 0, longestName = 0, longestData = 0;
    ASSERT_EQ(reg.QueryInfoKey(other, &count, &longestName, &longestData), ERROR_SUCCESS);
    EXPECT_EQ(count, 3u);
    EXPECT_EQ(longestName, 5u);
    EXPECT_EQ(longestData, 5u);
    QStringList names;
    QString name;
    uint32_t type = 0;
    for (uint32_t i = 0; reg.EnumValue(other, i, &name, &type, nullptr) == ERROR_SUCCESS; ++i)
        names << name;
    EXPECT_EQ(names, (QStringList{"Zeta", "alpha", "Mid"}));
    EXPECT_EQ(reg.EnumValue(other, 3, &name, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
    QByteArray data;
    ASSERT_EQ(reg.QueryValueEx(other, QStringLiteral("zeta"), &type, &data), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_DWORD);
}

TEST_F(RegistryTest, KeysRootsAccessAndDeletion)
{
    Registry reg(dbPath());
    HKEY key = 0;
    EXPECT_EQ(reg.OpenKeyEx(HKEY_LOCAL_MACHINE, AppKey, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    const HKEY created = create(reg, AppKey);
    // Parents come into being with the key; the other root does not see it.
    EXPECT_EQ(reg.OpenKeyEx(HKEY_LOCAL_MACHINE, QStringLiteral("Software\\Tavrell"), KEY_READ,
                            &key), ERROR_SUCCESS);
    EXPECT_EQ(reg.OpenKeyEx(HKEY_CURRENT_USER, AppKey, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(reg.OpenKeyEx(0x1234, AppKey, KEY_READ, &key), ERROR_INVALID_HANDLE);

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

TEST_F(RegistryTest, GarbageFileIsMovedAsideAndAnEmptyOneStarted)
{
    {
        QFile garbage(dbPath());
        ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
        garbage.write(QByteArray(5000, 'G'));
    }
    Registry reg(dbPath());
    HKEY key = 0;
    EXPECT_EQ(reg.OpenKeyEx(HKEY_LOCAL_MACHINE, AppKey, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    ASSERT_FALSE(reg.movedAsidePath().isEmpty());
    EXPECT_TRUE(reg.movedAsidePath().startsWith(dbPath() + QStringLiteral(".broken-")));
    QFile kept(reg.movedAsidePath());
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray(5000, 'G'));

    const HKEY created = create(reg, AppKey);
    EXPECT_EQ(reg.SetValueEx(created, QStringLiteral("V"), REG_SZ, "ok"), ERROR_SUCCESS);
}

TEST_F(RegistryTest, TruncatedFileNeverCrashesAndEndsUsable)
{
    {
        Registry reg(dbPath());
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
    // Either the damage is seen and the file moved aside, or what survives reads back whole.
    HKEY key = 0;
    const LSTATUS opened = reg.OpenKeyEx(HKEY_LOCAL_MACHINE, AppKey, KEY_READ, &key);
    if (reg.movedAsidePath().isEmpty()) {
        ASSERT_EQ(opened, ERROR_SUCCESS);
    } else {
        EXPECT_EQ(opened, ERROR_FILE_NOT_FOUND);
    }
    const HKEY created = create(reg, AppKey);
    ASSERT_EQ(reg.SetValueEx(created, QStringLiteral("After"), REG_SZ, "ok"), ERROR_SUCCESS);
    QByteArray data;
    EXPECT_EQ(reg.QueryValueEx(created, QStringLiteral("After"), nullptr, &data), ERROR_SUCCESS);
    EXPECT_EQ(data, "ok");
}

TEST_F(RegistryTest, FileImageReadsInMemoryAndAGarbageImageStartsEmpty)
{
    {
        Registry reg(dbPath());
        reg.SetValueEx(create(reg, AppKey), QStringLiteral("V"), REG_SZ, "on disk");
    }
    QFile::remove(dbPath() + QStringLiteral("-wal"));
    QFile file(dbPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    Registry image(RegistryDatabase::FileImage{file.readAll()});
    QByteArray data;
    EXPECT_EQ(image.QueryValueEx(create(image, AppKey), QStringLiteral("V"), nullptr, &data),
              ERROR_SUCCESS);
    EXPECT_EQ(data, "on disk");

    Registry garbage(RegistryDatabase::FileImage{QByteArray(5000, 'G')});
    HKEY key = 0;
    EXPECT_EQ(garbage.OpenKeyEx(HKEY_LOCAL_MACHINE, AppKey, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(garbage.SetValueEx(create(garbage, AppKey), QStringLiteral("V"), REG_SZ, "x"),
              ERROR_SUCCESS);
}
