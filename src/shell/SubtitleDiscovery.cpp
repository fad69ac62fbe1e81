#include "shell/SubtitleDiscovery.h"

#include "shell/SubtitleNames.h"

#include <QFileInfo>

#include <algorithm>

namespace {

bool LooksLikeSubtitle(const ListFile& entry)
{
    if (entry.IsDirectory())
        return false;
    const QString ext = entry.FileExtension().toLower();
    return ext == u"sub" || ext == u"srt" || ext == u"txt";
}

QString TitleOf(const QString& videoFile)
{
    // Only the name matters: no need to look the video up on disk.
    const qsizetype slash = videoFile.lastIndexOf(u'/');
    const QString name = videoFile.mid(slash + 1);
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? name : name.left(dot);
}

} // namespace

double SubtitleDiscovery::Score(const QString& title, const QString& candidateTitleNoExt)
{
    if (title.isEmpty())
        return 0.0;
    double score = 0.0;
    // Runs of blanks give empty words, which are skipped; repeated words count each time.
    for (const QString& word : SubtitleNames::WordsOf(candidateTitleNoExt)) {
        if (!word.isEmpty() && title.contains(word, Qt::CaseInsensitive))
            score += double(word.size()) + 1.0;
    }
    return score / double(title.size());
}

void SubtitleDiscovery::ScoreSubtitleFiles(const QString& videoFile,
                                           const FileMgr::Entries& listing,
                                           FileMgr::Entries& result)
{
    const QString title = TitleOf(videoFile);
    for (const auto& entry : listing) {
        if (!LooksLikeSubtitle(*entry))
            continue;
        entry->TagDouble = Score(title, entry->FileTitleNoExt());
        result.append(entry);
    }
}

namespace {

// Release groups ship the subtitles of a video in a folder beside it.
QStringList subtitleFoldersIn(const FileMgr::Entries& listing)
{
    QStringList folders;
    for (const auto& entry : listing) {
        const QString name = entry->FileTitle().toLower();
        if (entry->IsDirectory() && (name == u"subs" || name == u"subtitles"))
            folders.append(entry->Path());
    }
    return folders;
}

SubtitleDiscovery::Candidate candidateOf(const ListFile& entry, const QString& title,
                                         const std::optional<SubtitleNames::Episode>& episode)
{
    SubtitleDiscovery::Candidate candidate;
    candidate.path = entry.Path();
    candidate.score = entry.TagDouble;
    const QString name = entry.FileTitleNoExt();
    candidate.exactTitle = !title.isEmpty() && name.compare(title, Qt::CaseInsensitive) == 0;
    candidate.foreignWords = SubtitleNames::ForeignWords(title, name);
    // Another episode's subtitles are wrong however well the rest of the name matches.
    const std::optional<SubtitleNames::Episode> named = SubtitleNames::EpisodeOf(name);
    if (episode && named && *named != *episode)
        candidate.excluded = QStringLiteral("another episode: ") + SubtitleNames::Describe(*named);
    return candidate;
}

} // namespace

QList<SubtitleDiscovery::Candidate> SubtitleDiscovery::RankCandidates(
    const QString& videoFile, const QString& lastSubtitleFile)
{
    const QString video = QFileInfo(videoFile).absoluteFilePath();
    FileMgr::Entries found;
    FileMgr listing;
    QStringList subtitleFolders;
    // A folder that cannot be listed adds nothing (rather than the previous listing again).
    if (listing.ChangeDir(ListFile::ParentOf(video))) {
        ScoreSubtitleFiles(video, listing.Files(), found);
        subtitleFolders = subtitleFoldersIn(listing.Files());
    }
    const QString subtitleFolder = ListFile::ParentOf(lastSubtitleFile);
    if (!lastSubtitleFile.trimmed().isEmpty() && !subtitleFolder.isEmpty()
        && listing.ChangeDir(subtitleFolder))
        ScoreSubtitleFiles(video, listing.Files(), found);
    for (const QString& folder : std::as_const(subtitleFolders)) {
        if (listing.ChangeDir(folder))
            ScoreSubtitleFiles(video, listing.Files(), found);
    }

    const QString title = TitleOf(video);
    const std::optional<SubtitleNames::Episode> episode = SubtitleNames::EpisodeOf(title);
    QList<Candidate> ranked;
    ranked.reserve(found.size());
    for (const auto& entry : std::as_const(found))
        ranked.append(candidateOf(*entry, title, episode));
    // Stable: what no key tells apart keeps listing order.
    std::stable_sort(ranked.begin(), ranked.end(), [](const Candidate& a, const Candidate& b) {
        if (a.score != b.score)
            return a.score > b.score;
        if (a.exactTitle != b.exactTitle)
            return a.exactTitle;
        return a.foreignWords < b.foreignWords;
    });
    return ranked;
}

QList<SubtitleDiscovery::Attempt> SubtitleDiscovery::TryInOrder(
    const QList<Candidate>& ranked, const std::function<bool(const QString& path)>& load)
{
    QList<Attempt> attempts(ranked.size());
    bool loaded = false;
    for (qsizetype i = 0; i < ranked.size(); ++i) {
        Attempt& attempt = attempts[i];
        // The walk stops at the first score not worth trying: every later one is lower.
        if (!IsWorthTrying(ranked[i].score))
            attempt.reason = QStringLiteral("score 0.25 or less");
        else if (!ranked[i].excluded.isEmpty())
            attempt.reason = ranked[i].excluded;
        else if (loaded)
            attempt.reason = QStringLiteral("an earlier file loaded");
        else
            attempt.tried = true;
        if (attempt.tried)
            loaded = attempt.loads = load(ranked[i].path);
    }
    return attempts;
}
