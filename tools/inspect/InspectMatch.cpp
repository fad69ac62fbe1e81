#include "InspectMatch.h"

#include "JsonText.h"

#include "platform/NumberFormat.h"
#include "settings/PlayerStore.h"
#include "settings/Settings.h"
#include "subtitles/SubtitleDiscovery.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <string>

namespace {

QString StoredPathSubs()
{
    Settings store;
    store.REGKEY = winreg::HKEY_LOCAL_MACHINE;
    store.RegSubKey = PlayerStore::kRegistrySubKey;
    store.LoadReg();
    // Read only: the inspector never writes the player's settings back.
    return store
        .DefaultSetting(QStringLiteral("PATHSUBS"), PlayerStore::DocumentsFolder(), SettingString)
        .toString();
}

} // namespace

int InspectMatch(const QStringList& args)
{
    if (args.isEmpty() || args.size() > 2 || args[0].startsWith(u'-')) {
        std::fputs("usage: veltrix-inspect match VIDEO [PATHSUBS]\n", stderr);
        return 2;
    }
    const QString video = args[0];
    if (!QFileInfo::exists(video))
        std::fprintf(stderr, "veltrix-inspect: note: '%s' does not exist; its folder is searched "
                             "anyway\n", qPrintable(video));
    const QString pathSubs = args.size() > 1 ? args[1] : StoredPathSubs();
    const auto ranked = SubtitleDiscovery::RankCandidates(video, pathSubs);

    std::string out = "[";
    for (qsizetype i = 0; i < ranked.size(); ++i) {
        if (i > 0)
            out += ", ";
        out += "{\"path\": ";
        AppendJsonString(out, ranked[i].path);
        out += ", \"score\": ";
        out += ShortestDecimal(ranked[i].score).toStdString();
        out += "}";
    }
    out += "]\n";
    std::fputs(out.c_str(), stdout);
    return 0;
}
