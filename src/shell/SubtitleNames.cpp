#include "shell/SubtitleNames.h"

#include <QRegularExpression>

QStringList SubtitleNames::WordsOf(const QString& titleNoExt)
{
    QString name = titleNoExt;
    for (QChar& c : name) {
        if (c == u'_' || c == u'-' || c == u'.')
            c = u' ';
    }
    return name.split(u' ');
}

std::optional<SubtitleNames::Episode> SubtitleNames::EpisodeOf(const QString& titleNoExt)
{
    // Not inside a longer run of letters or digits: "1920x1080" and "x264" name no episode.
    static const QRegularExpression mark(QStringLiteral(
        "(?<![A-Za-z0-9])(?:[Ss](\\d{1,2})[Ee](\\d{1,3})|(\\d{1,2})[Xx](\\d{2,3}))(?![0-9])"));
    const QRegularExpressionMatch found = mark.match(titleNoExt);
    if (!found.hasMatch())
        return std::nullopt;
    const bool letters = found.capturedLength(1) > 0;
    return Episode{found.captured(letters ? 1 : 3).toInt(),
                   found.captured(letters ? 2 : 4).toInt()};
}

QString SubtitleNames::Describe(const Episode& episode)
{
    return QStringLiteral("S%1E%2")
        .arg(episode.season, 2, 10, QLatin1Char('0'))
        .arg(episode.episode, 2, 10, QLatin1Char('0'));
}

int SubtitleNames::ForeignWords(const QString& title, const QString& candidateTitleNoExt)
{
    int foreign = 0;
    for (const QString& word : WordsOf(candidateTitleNoExt)) {
        if (!word.isEmpty() && !title.contains(word, Qt::CaseInsensitive))
            ++foreign;
    }
    return foreign;
}
