// Any bytes as an INI file: loading never crashes, and what the store saves loads back the same.
#include "settings/SettingValue.h"
#include "settings/Settings.h"

#include <QDir>
#include <QFile>

#include <cstdint>
#include <cstdlib>
#include <unistd.h>

namespace {

QString ScratchFolder()
{
    static const QString folder = [] {
        const QString path = QDir::tempPath() + QStringLiteral("/veltrix-ini-fuzz-")
                             + QString::number(getpid());
        QDir().mkpath(path);
        // The replay driver and libFuzzer both end through exit(): leave no folder behind.
        std::atexit([] { QDir(QDir::tempPath() + QStringLiteral("/veltrix-ini-fuzz-")
                              + QString::number(getpid())).removeRecursively(); });
        return path;
    }();
    return folder;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString input = ScratchFolder() + QStringLiteral("/input.ini");
    const QString output = ScratchFolder() + QStringLiteral("/output.ini");
    {
        QFile file(input);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    Settings first;
    first.Load(input);
    first.Save(output);
    Settings second;
    second.Load(output);
    if (second.SettingCount() != first.SettingCount())
        std::abort();
    for (int i = 1; i <= first.SettingCount(); ++i) {
        const QString name = first.GetNameFromIndex(i);
        if (second.GetNameFromIndex(i) != name
            || !SettingValue::Equal(second.GetSettingByIndex(i), first.GetSettingByIndex(i)))
            std::abort();
    }
    return 0;
}
