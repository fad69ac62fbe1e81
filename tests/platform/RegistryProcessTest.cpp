// Two players saving into one registry file at once while a third is killed in the middle of
// its writes.
#include "platform/Registry.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <csignal>

using namespace winreg;

TEST(RegistryProcesses, TwoWritersAtOnceLoseNothingAndAKilledOneLeavesWholeValues)
{
    QTemporaryDir dir;
    const QString db = dir.filePath(QStringLiteral("registry.db"));
    const auto start = [&db](QProcess& process, const QStringList& args) {
        process.start(QStringLiteral(REGISTRY_WRITER_PATH), QStringList{db} + args);
    };
    QProcess killed, a, b;
    start(killed, {QStringLiteral("--forever")});
    ASSERT_TRUE(killed.waitForReadyRead(5000));
    constexpr int PerWriter = 1000;
    start(a, {QStringLiteral("A"), QString::number(PerWriter)});
    start(b, {QStringLiteral("B"), QString::number(PerWriter)});
    ASSERT_TRUE(a.waitForFinished(8000));
    ASSERT_TRUE(b.waitForFinished(8000));
    EXPECT_EQ(a.exitCode(), 0);
    EXPECT_EQ(b.exitCode(), 0);
    ::kill(pid_t(killed.processId()), SIGKILL);
    ASSERT_TRUE(killed.waitForFinished(5000));
    ASSERT_EQ(killed.exitStatus(), QProcess::CrashExit) << "it stopped writing before the kill";

    Registry reg(db);
    EXPECT_TRUE(reg.movedAsidePath().isEmpty());
    HKEY key = 0;
    ASSERT_EQ(reg.OpenKeyEx(HKEY_CURRENT_USER, QStringLiteral("Software\\WriterTest"), KEY_READ,
                            &key),
              ERROR_SUCCESS);
    uint32_t count = 0;
    ASSERT_EQ(reg.QueryInfoKey(key, &count, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(count, 2u * PerWriter + 2);
    QByteArray data;
    for (const char* prefix : {"A", "B"}) {
        for (int i = 0; i < PerWriter; ++i) {
            const QString name = QLatin1String(prefix) + u'_' + QString::number(i);
            ASSERT_EQ(reg.QueryValueEx(key, name, nullptr, &data), ERROR_SUCCESS)
                << name.toStdString();
            EXPECT_EQ(qFromLittleEndian<int32_t>(data.constData()), i);
        }
    }
    uint32_t type = 0;
    ASSERT_EQ(reg.QueryValueEx(key, QStringLiteral("Blob"), &type, &data), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_BINARY);
    ASSERT_EQ(data.size(), 64 * 1024);
    EXPECT_EQ(data.count(data[0]), data.size()) << "a torn value survived the kill";
    // The counter is written after the blob of the same round: that round or the one before.
    const char blob = data[0];
    ASSERT_EQ(reg.QueryValueEx(key, QStringLiteral("Counter"), nullptr, &data), ERROR_SUCCESS);
    ASSERT_EQ(data.size(), 4);
    const uint32_t n = qFromLittleEndian<uint32_t>(data.constData());
    EXPECT_TRUE(blob == char(n & 0xff) || blob == char((n + 1) & 0xff));
}
