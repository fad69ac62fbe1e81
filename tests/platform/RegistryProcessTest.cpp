// Two real processes on one registry file, and a writer killed in the middle of its writes.
#include "platform/Registry.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <csignal>
#include <thread>

using namespace winreg;

namespace {

const QString WriterKey = QStringLiteral("Software\\WriterTest");

struct RegistryProcesses : ::testing::Test
{
    QProcess* startWriter(const QStringList& args)
    {
        auto* process = new QProcess(&owner);
        process->start(QStringLiteral(REGISTRY_WRITER_PATH), QStringList{db} + args);
        return process;
    }
    QTemporaryDir dir;
    const QString db = dir.filePath(QStringLiteral("registry.db"));
    QObject owner;
};

} // namespace

TEST_F(RegistryProcesses, TwoWritersAtOnceLoseNothing)
{
    constexpr int PerWriter = 2000;
    QProcess* a = startWriter({QStringLiteral("A"), QString::number(PerWriter)});
    QProcess* b = startWriter({QStringLiteral("B"), QString::number(PerWriter)});
    ASSERT_TRUE(a->waitForFinished(8000));
    ASSERT_TRUE(b->waitForFinished(8000));
    EXPECT_EQ(a->exitCode(), 0);
    EXPECT_EQ(b->exitCode(), 0);

    Registry reg(db);
    HKEY key = 0;
    ASSERT_EQ(reg.OpenKeyEx(HKEY_CURRENT_USER, WriterKey, KEY_READ, &key), ERROR_SUCCESS);
    uint32_t count = 0;
    ASSERT_EQ(reg.QueryInfoKey(key, &count, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(count, 2u * PerWriter);
    for (const char* prefix : {"A", "B"}) {
        for (int i = 0; i < PerWriter; ++i) {
            QByteArray data;
            const QString name = QLatin1String(prefix) + u'_' + QString::number(i);
            ASSERT_EQ(reg.QueryValueEx(key, name, nullptr, &data), ERROR_SUCCESS)
                << name.toStdString();
            EXPECT_EQ(qFromLittleEndian<int32_t>(data.constData()), i);
        }
    }
}

TEST_F(RegistryProcesses, KilledWriterLeavesAWholeValue)
{
    // Several kills at different moments of the write loop.
    for (int round = 0; round < 4; ++round) {
        QProcess* writer = startWriter({QStringLiteral("--forever")});
        ASSERT_TRUE(writer->waitForReadyRead(5000));
        std::this_thread::sleep_for(std::chrono::milliseconds(150 + 70 * round));
        ::kill(pid_t(writer->processId()), SIGKILL);
        ASSERT_TRUE(writer->waitForFinished(5000));
        ASSERT_EQ(writer->exitStatus(), QProcess::CrashExit);

        Registry reg(db);
        HKEY key = 0;
        ASSERT_EQ(reg.OpenKeyEx(HKEY_CURRENT_USER, WriterKey, KEY_READ, &key), ERROR_SUCCESS);
        EXPECT_TRUE(reg.movedAsidePath().isEmpty());
        QByteArray blob;
        uint32_t type = 0;
        ASSERT_EQ(reg.QueryValueEx(key, QStringLiteral("Blob"), &type, &blob), ERROR_SUCCESS);
        EXPECT_EQ(type, REG_BINARY);
        ASSERT_EQ(blob.size(), 64 * 1024);
        EXPECT_EQ(blob.count(blob[0]), blob.size()) << "a torn value survived the kill";
        QByteArray counter;
        ASSERT_EQ(reg.QueryValueEx(key, QStringLiteral("Counter"), nullptr, &counter),
                  ERROR_SUCCESS);
        ASSERT_EQ(counter.size(), 4);
        // The counter is written after the blob of the same round: that round or the one before.
        const uint32_t n = qFromLittleEndian<uint32_t>(counter.constData());
        EXPECT_TRUE(blob[0] == char(n & 0xff) || blob[0] == char((n + 1) & 0xff));
    }
}
