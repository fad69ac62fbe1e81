#include "shell/SubtitleDiscovery.h"

#include <QDir>
#include <QFile>
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
    double scoreOf(const QList<SubtitleDiscovery::Candidate>& ranked, const QString& path)
    {
        for (const auto& c : ranked) {
            if (c.path == path)
                return c.score;
        }
        ADD_FAILURE() << "not a candidate: " << path.toStdString();
        return -1;
    }
    QTemporaryDir m_dir;
};

} // namespace

// The ranking below shows the scores of whole names; here a repeated word and the threshold.
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
    const QString lastChosen = m_dir.filePath(QStringLiteral("subs/Old.srt"));

    const auto ranked = SubtitleDiscovery::RankCandidates(video, lastChosen);
    ASSERT_EQ(ranked.size(), 6);      // five in films, one in subs (Old.srt itself is gone)
    for (const auto& [name, score] : scored)
        EXPECT_DOUBLE_EQ(scoreOf(ranked, m_dir.filePath(QString::fromLatin1(name))), score) << name;
    for (qsizetype i = 1; i < ranked.size(); ++i)
        EXPECT_GE(float(ranked[i - 1].score), float(ranked[i].score));
    EXPECT_TRUE(ranked[0].path == m_dir.filePath(QStringLiteral("films/Movie.Name.srt"))
                || ranked[0].path == m_dir.filePath(QStringLiteral("films/movie_name.SUB")));
}

TEST_F(DiscoveryTest, SameFolderTwiceAndFolderAboveADefaultPath)
{
    const QString video = touch(QStringLiteral("films/Movie.avi"));
    const QString sub = touch(QStringLiteral("films/Movie.srt"));
    auto ranked = SubtitleDiscovery::RankCandidates(video, sub);
    ASSERT_EQ(ranked.size(), 2);
    EXPECT_EQ(ranked[0].path, sub);
    EXPECT_EQ(ranked[1].path, sub);

    // A folder with a trailing separator (the documents default) searches the folder above it.
    const QString above = touch(QStringLiteral("Movie.txt"));
    ranked = SubtitleDiscovery::RankCandidates(video, m_dir.filePath(QStringLiteral("films/")));
    ASSERT_EQ(ranked.size(), 2);
    EXPECT_TRUE(ranked[0].path == above || ranked[1].path == above);

    // A subtitle folder that cannot be listed adds nothing, not the video's folder again.
    ranked = SubtitleDiscovery::RankCandidates(video, m_dir.filePath(QStringLiteral("gone/x.srt")));
    EXPECT_EQ(ranked.size(), 1);
    ranked = SubtitleDiscovery::RankCandidates(video, QString());
    EXPECT_EQ(ranked.size(), 1);

    // A video without a title scores everything zero.
    ranked = SubtitleDiscovery::RankCandidates(touch(QStringLiteral("films/.avi")), QString());
    ASSERT_EQ(ranked.size(), 1);
    EXPECT_EQ(ranked[0].score, 0);
}

TEST_F(DiscoveryTest, EqualScoresPreferTheVideosOwnTitleThenFewerForeignWords)
{
    const QString video = touch(QStringLiteral("films/clip.mp4"));
    // Listed first, both score 1.25: the Czech file of clip.wmv must not win over clip.srt.
    const QString czech = touch(QStringLiteral("films/clip.wmv.cz.srt"));
    const QString own = touch(QStringLiteral("films/clip.srt"));
    auto ranked = SubtitleDiscovery::RankCandidates(video, QString());
    ASSERT_EQ(ranked.size(), 2);
    EXPECT_DOUBLE_EQ(ranked[0].score, ranked[1].score);
    EXPECT_EQ(ranked[0].path, own);

    // Without the exact title, the name with fewer words foreign to the title goes first.
    QFile::remove(own);
    const QString english = touch(QStringLiteral("films/clip.en.srt"));
    ranked = SubtitleDiscovery::RankCandidates(video, QString());
    ASSERT_EQ(ranked.size(), 2);
    EXPECT_DOUBLE_EQ(ranked[0].score, ranked[1].score);
    EXPECT_EQ(ranked[0].path, english);
}

TEST_F(DiscoveryTest, AnotherEpisodesSubtitlesAreNeverTried)
{
    const QString video = touch(QStringLiteral("show/Show.S01E03.avi"));
    const QString first = touch(QStringLiteral("show/Show.S01E01.srt"));
    const QString second = touch(QStringLiteral("show/show_s1e2.srt"));
    const QString third = touch(QStringLiteral("show/Show.1x03.srt"));
    const QString plain = touch(QStringLiteral("show/Show.srt"));
    const QString hd = touch(QStringLiteral("show/Show.1920x1080.srt"));
    const auto ranked = SubtitleDiscovery::RankCandidates(video, QString());
    ASSERT_EQ(ranked.size(), 5);
    QStringList tried;
    const auto attempts = SubtitleDiscovery::TryInOrder(ranked, [&](const QString& path) {
        tried.append(path);
        return false;
    });
    for (qsizetype i = 0; i < ranked.size(); ++i) {
        if (ranked[i].path == first || ranked[i].path == second) {
            EXPECT_TRUE(attempts[i].reason.startsWith("another episode: S01E0"));
        }
    }
    tried.sort();
    // A resolution is no episode mark.
    EXPECT_EQ(tried, QStringList({hd, third, plain}));
}

TEST_F(DiscoveryTest, SubsFoldersAreSearchedAfterTheOtherTwo)
{
    const QString video = touch(QStringLiteral("release/Movie.avi"));
    const QString inSubs = touch(QStringLiteral("release/Subs/Movie.srt"));
    const QString inSubtitles = touch(QStringLiteral("release/SUBTITLES/Movie.eng.srt"));
    touch(QStringLiteral("release/Extras/Movie.srt"));
    const QString elsewhere = touch(QStringLiteral("other/Movie.srt"));
    const auto ranked = SubtitleDiscovery::RankCandidates(
        video, m_dir.filePath(QStringLiteral("other/last.srt")));
    ASSERT_EQ(ranked.size(), 3);
    // Equal scores and titles keep listing order: the subtitle folder before the Subs folder.
    EXPECT_EQ(ranked[0].path, elsewhere);
    EXPECT_EQ(ranked[1].path, inSubs);
    EXPECT_EQ(ranked[2].path, inSubtitles);
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
    EXPECT_EQ(attempts[3].reason, "score 0.25 or less");
}
