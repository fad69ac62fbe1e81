// Start-up settings and subtitle discovery timings.
//   Startup*: LoadReg + the player's eight DefaultSetting declarations + SaveReg, against a
//             registry that already holds the values (every start after the first). "Cold"
//             opens the registry file as a fresh start does; the QSettings INI round trip of
//             the same eight values is the peer.
//   Discovery: listing and scoring a folder of 10,000 subtitle-named files, then ranking them.
#include "settings/Settings.h"
#include "shell/SubtitleDiscovery.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <clocale>

namespace {

const QString AppKey = QStringLiteral("Software\\Tavrell\\Veltrix");

void DeclarePlayerSettings(Settings& store)
{
    const QString documents = QDir::homePath() + QStringLiteral("/Documents/");
    store.DefaultSetting(QStringLiteral("PATHMEDIA"), documents, SettingString);
    store.DefaultSetting(QStringLiteral("PATHSUBS"), documents, SettingString);
    store.DefaultSetting(QStringLiteral("MPTYPE"), 2, SettingNumber);
    store.DefaultSetting(QStringLiteral("VOLUME"), 50, SettingNumber);
    store.DefaultSetting(QStringLiteral("MUTE"), false, SettingBoolean);
    store.DefaultSetting(QStringLiteral("SUBAUTOOPEN"), true, SettingBoolean);
    store.DefaultSetting(QStringLiteral("AOT"), false, SettingBoolean);
    store.DefaultSetting(QStringLiteral("HIGHPRIORITY"), true, SettingBoolean);
}

void StartAndShutDown(const std::shared_ptr<Registry>& registry)
{
    Settings store;
    store.SetRegistry(registry);
    store.REGKEY = winreg::HKEY_LOCAL_MACHINE;
    store.RegSubKey = AppKey;
    store.LoadReg();
    DeclarePlayerSettings(store);
    if (!store.SaveReg())
        std::abort();
}

void StartupCold(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("registry.db"));
    StartAndShutDown(std::make_shared<Registry>(path));
    for (auto _ : state)
        StartAndShutDown(std::make_shared<Registry>(path));
}
BENCHMARK(StartupCold)->Unit(benchmark::kMillisecond);

void StartupWarm(benchmark::State& state)
{
    QTemporaryDir dir;
    auto registry = std::make_shared<Registry>(dir.filePath(QStringLiteral("registry.db")));
    StartAndShutDown(registry);
    for (auto _ : state)
        StartAndShutDown(registry);
}
BENCHMARK(StartupWarm)->Unit(benchmark::kMillisecond);

void StartupPeerQSettingsIni(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("veltrix.ini"));
    const QString documents = QDir::homePath() + QStringLiteral("/Documents/");
    const auto round = [&] {
        QSettings ini(path, QSettings::IniFormat);
        const QVariantList defaults = {documents, documents, 2, 50, false, true, false, true};
        const QStringList names = {"PATHMEDIA", "PATHSUBS", "MPTYPE", "VOLUME", "MUTE",
                                   "SUBAUTOOPEN", "AOT", "HIGHPRIORITY"};
        for (qsizetype i = 0; i < names.size(); ++i)
            ini.setValue(names[i], ini.value(names[i], defaults[i]));
        ini.sync();
    };
    round();
    for (auto _ : state)
        round();
}
BENCHMARK(StartupPeerQSettingsIni)->Unit(benchmark::kMillisecond);

void Discovery10000Files(benchmark::State& state)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir(QStringLiteral("films"));
    QDir(dir.path()).mkdir(QStringLiteral("subs"));
    for (int i = 0; i < 10000; ++i) {
        const char* ext[] = {"srt", "sub", "txt", "avi"};
        QFile f(dir.filePath(QStringLiteral("films/Some.Show.S%1E%2.%3")
                                 .arg(i / 100, 2, 10, QChar(u'0'))
                                 .arg(i % 100, 2, 10, QChar(u'0'))
                                 .arg(QLatin1String(ext[i % 4]))));
        if (!f.open(QIODevice::WriteOnly))
            std::abort();
    }
    const QString video = dir.filePath(QStringLiteral("films/Some.Show.S01E01.avi"));
    const QString lastSub = dir.filePath(QStringLiteral("subs/Old.srt"));
    for (auto _ : state) {
        const auto ranked = SubtitleDiscovery::RankCandidates(video, lastSub);
        benchmark::DoNotOptimize(ranked.size());
    }
}
BENCHMARK(Discovery10000Files)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
