// Helper for the registry's multi-process tests: writes to one registry file in a loop.
//   registry_writer DB PREFIX COUNT   writes PREFIX_0 .. PREFIX_{COUNT-1}, each a DWORD of its index
//   registry_writer DB --forever      rewrites "Blob" (64 KiB of one repeated byte) and "Counter"
//                                     until killed; prints "ready" after the first pair
#include "platform/Registry.h"

#include <QtEndian>

#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace winreg;

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    Registry reg(QString::fromLocal8Bit(argv[1]));
    HKEY key = 0;
    if (reg.CreateKeyEx(HKEY_CURRENT_USER, QStringLiteral("Software\\WriterTest"), KEY_ALL_ACCESS,
                        &key) != ERROR_SUCCESS)
        return 3;
    if (std::strcmp(argv[2], "--forever") == 0) {
        for (uint32_t i = 0;; ++i) {
            const QByteArray blob(64 * 1024, char(i & 0xff));
            QByteArray counter(4, '\0');
            qToLittleEndian<uint32_t>(i, counter.data());
            if (reg.SetValueEx(key, QStringLiteral("Blob"), REG_BINARY, blob) != ERROR_SUCCESS
                || reg.SetValueEx(key, QStringLiteral("Counter"), REG_DWORD, counter)
                       != ERROR_SUCCESS)
                return 4;
            if (i == 0) {
                std::puts("ready");
                std::fflush(stdout);
            }
        }
    }
    const QString prefix = QString::fromLocal8Bit(argv[2]);
    const int count = argc > 3 ? std::atoi(argv[3]) : 100;
    for (int i = 0; i < count; ++i) {
        QByteArray data(4, '\0');
        qToLittleEndian<int32_t>(i, data.data());
        if (reg.SetValueEx(key, prefix + u'_' + QString::number(i), REG_DWORD, data)
            != ERROR_SUCCESS)
            return 4;
    }
    return 0;
}
