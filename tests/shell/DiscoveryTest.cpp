#include "shell/SubtitleDiscovery.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class DiscoveryTest : public ::testing::Test
{
protected:
    QString touch(const QString& relative)
    {
        const QString path = m_dir.filePath(relative);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        return path;
    }
    // The candidates for a video, best first, as paths below the test's folder.
    QStringList rankedNames(const QString& video, const QString& lastChosen = {})
    {
        QStringList names;
        const QString last = lastChosen.isEmpty() ? QString() : m_dir.filePath(lastChosen);
        for (const auto& c : SubtitleDiscovery::RankCandidates(m_dir.filePath(video), last))
            names.append(QDir(m_dir.path()).relativeFilePath(c.path));
        return names;
    }
    QTemporaryDir m_dir;
};

} // namespace

TEST(DiscoveryScore, RepeatedWordsCountAgainAndOnlyMoreThanAQuarterIsWorthTrying)
{
    EXPECT_DOUBLE_EQ(SubtitleDiscovery::Score(QStringLiteral("Movie.Name"),
                                              QStringLiteral("Movie--Movie")), 1.2);
    EXPECT_FALSE(SubtitleDiscovery::IsWorthTrying(0.25));
    EXPECT_FALSE(SubtitleDiscovery::IsWorthTrying(std::nan("")));
    EXPECT_TRUE(SubtitleDiscovery::IsWorthTrying(0.2501));
}

TEST_F(DiscoveryTest, RanksSubtitleLookingFilesOfBothFolders)
{
    const QString video = touch(QStringLiteral("films/Movie.Name.avi"));
    const struct {
        const char* name;
        double score;
    } scored[] = {{"films/Movie.Name.srt", 1.1}, {"films/Other.srt", 0},
                  {"films/movie_name.SUB", 1.1}, {"films/Name.TXT", 0.5}, {"films/a.Sub", 0.2},
                  {"subs/Movie.srt", 0.6}};
    for (const auto& file : scored)
        touch(QString::fromLatin1(file.name));
    touch(QStringLiteral("films/Movie.Name.idx"));
    touch(QStringLiteral("films/Movie.Name.ass"));
    touch(QStringLiteral("films/Movie.srt/inside.txt"));        // a folder that looks like one
    QMap<QString, double> scores;
    for (const auto& c : SubtitleDiscovery::RankCandidates(video, m_dir.filePath("subs/Old.srt")))
        scores.insert(QDir(m_dir.path()).relativeFilePath(c.path), c.score);
    EXPECT_EQ(scores.size(), 6);      // five in films, one in subs (Old.srt itself is gone)
    for (const auto& [name, score] : scored)
        EXPECT_DOUBLE_EQ(scores.value(QString::fromLatin1(name), -1), score) << name;
}

TEST_F(DiscoveryTest, SameFolderTwiceFolderAboveADefaultPathAndNoTitle)
{
    touch(QStringLiteral("films/Movie.avi"));
    touch(QStringLiteral("films/Movie.srt"));
    const QString video = QStringLiteral("films/Movie.avi");
    EXPECT_EQ(rankedNames(video, QStringLiteral("films/Movie.srt")),
              QStringList({"films/Movie.srt", "films/Movie.srt"}));
    // A folder with a trailing separator (the documents default) searches the folder above it.
    touch(QStringLiteral("Movie.txt"));
    EXPECT_EQ(rankedNames(video, QStringLiteral("films/")),
              QStringList({"films/Movie.srt", "Movie.txt"}));
    // A subtitle folder that cannot be listed adds nothing, not the video's folder again.
    EXPECT_EQ(rankedNames(video, QStringLiteral("gone/x.srt")).size(), 1);
    EXPECT_EQ(rankedNames(video).size(), 1);

    // A video without a title scores everything zero.
    const auto ranked = SubtitleDiscovery::RankCandidates(touch(QStringLiteral("films/.avi")), {});
    ASSERT_EQ(ranked.size(), 1);
    EXPECT_EQ(ranked[0].score, 0);
}

// Equal scores (both names score 1.25 here) prefer the video's own title, then the name with
// fewer words foreign to the title, then the listing order: the last subtitle folder before the
// video's Subs and Subtitles folders, which are searched after the other two.
TEST_F(DiscoveryTest, EqualScoresPreferTheOwnTitleThenFewerForeignWordsThenListingOrder)
{
    // Listed first: the Czech file of clip.wmv must not win over clip.srt.
    touch(QStringLiteral("films/clip.wmv.cz.srt"));
    const QString own = touch(QStringLiteral("films/clip.srt"));
    const QString video = touch(QStringLiteral("films/clip.mp4"));
    auto ranked = SubtitleDiscovery::RankCandidates(video, QString());
    ASSERT_EQ(ranked.size(), 2);
    EXPECT_DOUBLE_EQ(ranked[0].score, ranked[1].score);
    EXPECT_EQ(ranked[0].path, own);
    QFile::remove(own);
    const QString english = touch(QStringLiteral("films/clip.en.srt"));
    ranked = SubtitleDiscovery::RankCandidates(video, QString());
    ASSERT_EQ(ranked.size(), 2);
    EXPECT_DOUBLE_EQ(ranked[0].score, ranked[1].score);
    EXPECT_EQ(ranked[0].path, english);

    for (const char* name : {"release/Movie.avi", "release/Subs/Movie.srt",
                             "release/SUBTITLES/Movie.eng.srt", "release/Extras/Movie.srt",
                             "other/Movie.srt"})
        touch(QString::fromLatin1(name));
    EXPECT_EQ(rankedNames(QStringLiteral("release/Movie.avi"), QStringLiteral("other/last.srt")),
              QStringList({"other/Movie.srt", "release/Subs/Movie.srt",
                           "release/SUBTITLES/Movie.eng.srt"}));
}

TEST_F(DiscoveryTest, AnotherEpisodesSubtitlesAreNeverTried)
{
    const QString video = touch(QStringLiteral("show/Show.S01E03.avi"));
    touch(QStringLiteral("show/Show.S01E01.srt"));
    touch(QStringLiteral("show/show_s1e2.srt"));
    const QString third = touch(QStringLiteral("show/Show.1x03.srt"));
    const QString plain = touch(QStringLiteral("show/Show.srt"));
    const QString hd = touch(QStringLiteral("show/Show.1920x1080.srt"));
    const auto ranked = SubtitleDiscovery::RankCandidates(video, QString());
    ASSERT_EQ(ranked.size(), 5);
    QStringList tried;
    SubtitleDiscovery::TryInOrder(ranked, [&](const QString& path) {
        tried.append(path);
        return false;
    });
    tried.sort();
    // A resolution is no episode mark.
    EXPECT_EQ(tried, QStringList({hd, third, plain}));
}

TEST(DiscoveryWalk, StopsAtTheFirstThatLoadsAndAtTheFirstScoreNotWorthTrying)
{
    const QList<SubtitleDiscovery::Candidate> ranked = {
        {"a", 1.2, true, 0, {}}, {"b", 1.0, false, 1, {}}, {"c", 0.9, false, 1, {}},
        {"d", 0.2, false, 2, {}}};
    QStringList loaded;
    auto attempts = SubtitleDiscovery::TryInOrder(ranked, [&](const QString& path) {
        loaded.append(path);
        return path == "b";
    });
    EXPECT_EQ(loaded, QStringList({"a", "b"}));
    EXPECT_TRUE(attempts[0].tried && !attempts[0].loads && attempts[0].reason.isEmpty());
    EXPECT_TRUE(attempts[1].tried && attempts[1].loads);
    EXPECT_FALSE(attempts[2].tried);
    EXPECT_EQ(attempts[2].reason, "an earlier file loaded");
    EXPECT_EQ(attempts[3].reason, "score 0.25 or less");

    attempts = SubtitleDiscovery::TryInOrder(ranked, [](const QString&) { return false; });
    EXPECT_TRUE(attempts[2].tried);
    EXPECT_FALSE(attempts[3].tried);
}
