#include "InspectMatch.h"

#include "CommandOptions.h"
#include "JsonText.h"

#include "platform/NumberFormat.h"
#include "settings/PlayerStore.h"
#include "settings/Settings.h"
#include "shell/SubtitleDiscovery.h"
#include "settings/SettingNames.h"
#include "subtitles/SubtitleReader.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace {

QString StoredPathSubs()
{
    Settings store;
    store.REGKEY = winreg::HKEY_LOCAL_MACHINE;
    store.RegSubKey = PlayerStore::kRegistrySubKey;
    store.LoadReg();
    // Read only: the inspector never writes the player's settings back.
    return store
        .DefaultSetting(SettingNames::PathSubs, PlayerStore::DocumentsFolder(), SettingString)
        .toString();
}

} // namespace

int InspectMatch(const QStringList& args)
{
    const char* usage = "veltrix-inspect match VIDEO [PATHSUBS]";
    QCommandLineParser parser;
    if (!ParseCommandOptions(parser, QStringLiteral("match"), args, usage))
        return 2;
    const QStringList files = parser.positionalArguments();
    if (files.isEmpty() || files.size() > 2)
        return UsageError(QStringLiteral("match"),
                          QStringLiteral("give a video and at most one folder"));
    const QString video = files[0];
    if (!QFileInfo::exists(video))
        std::fprintf(stderr, "veltrix-inspect: note: '%s' does not exist; its folder is searched "
                             "anyway\n", qPrintable(video));
    const QString pathSubs = files.size() > 1 ? files[1] : StoredPathSubs();

    const QList<SubtitleDiscovery::Candidate> ranked =
        SubtitleDiscovery::RankCandidates(video, pathSubs);
    // Loaded in order as the player loads them, so "loads" is what the player would get.
    const QList<SubtitleDiscovery::Attempt> attempts = SubtitleDiscovery::TryInOrder(
        ranked, [](const QString& path) { return SubtitleReader().Load(path); });
    QList<QByteArray> candidates;
    for (qsizetype i = 0; i < ranked.size(); ++i) {
        JsonFields fields;
        fields.add(QStringLiteral("path"), ranked[i].path);
        fields.addText(QStringLiteral("score"), ShortestDecimal(ranked[i].score).toUtf8());
        fields.add(QStringLiteral("tried"), attempts[i].tried);
        fields.add(QStringLiteral("reason"), attempts[i].reason);
        fields.add(QStringLiteral("loads"), attempts[i].loads);
        candidates.append(fields.text());
    }
    PrintJson(JsonArrayText(candidates));
    return 0;
}
