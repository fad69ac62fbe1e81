#include "shell/SubtitleDiscovery.h"

#include "subtitles/clsQuickSort.h"

#include <QFileInfo>

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
    QString name = candidateTitleNoExt;
    for (QChar& c : name) {
        if (c == u'_' || c == u'-' || c == u'.')
            c = u' ';
    }
    double score = 0.0;
    // Runs of blanks give empty words, which are skipped; repeated words count each time.
    for (const QStringView word : QStringView(name).split(u' ')) {
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

QList<SubtitleDiscovery::Candidate> SubtitleDiscovery::RankCandidates(
    const QString& videoFile, const QString& lastSubtitleFile)
{
    const QString video = QFileInfo(videoFile).absoluteFilePath();
    FileMgr::Entries found;
    FileMgr listing;
    // A folder that cannot be listed adds nothing (rather than the previous listing again).
    if (listing.ChangeDir(ListFile::ParentOf(video)))
        ScoreSubtitleFiles(video, listing.Files(), found);
    const QString subtitleFolder = ListFile::ParentOf(lastSubtitleFile);
    if (!lastSubtitleFile.trimmed().isEmpty() && !subtitleFolder.isEmpty()
        && listing.ChangeDir(subtitleFolder))
        ScoreSubtitleFiles(video, listing.Files(), found);

    clsQuickSort::Collection collection;
    for (const auto& entry : std::as_const(found))
        collection.Add(QVariant::fromValue<QObject*>(entry.get()));
    clsQuickSort sorter;
    sorter.Quicksort(collection, QStringLiteral("TagDouble"), false);

    QList<Candidate> ranked;
    ranked.reserve(collection.Count());
    for (qsizetype i = 0; i < collection.Count(); ++i) {
        const auto* entry = qobject_cast<const ListFile*>(collection.At(i).value<QObject*>());
        if (entry)
            ranked.append({entry->Path(), entry->TagDouble});
    }
    return ranked;
}
