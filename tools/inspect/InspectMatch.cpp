#include "InspectMatch.h"

#include "JsonText.h"

#include "platform/NumberFormat.h"
#include "settings/Settings.h"
#include "subtitles/SubtitleDiscovery.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <cstdio>
#include <string>

namespace {

// The player's own default for PATHSUBS: the documents folder with a trailing separator.
QString DocumentsFolder()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + u'/';
    while (folder.contains(QStringLiteral("//")))
        folder.replace(QStringLiteral("//"), QStringLiteral("/"));
    return folder;
}

QString StoredPathSubs()
{
    Settings store;
    store.REGKEY = winreg::HKEY_LOCAL_MACHINE;
    store.RegSubKey = QStringLiteral("Software\\Tavrell\\Veltrix");
    store.LoadReg();
    // Read only: the inspector never writes the player's settings back.
    return store.DefaultSetting(QStringLiteral("PATHSUBS"), DocumentsFolder(), SettingString)
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
