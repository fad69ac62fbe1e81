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

TEST(DiscoveryScore, WordsFoundInTheTitleScoreTheirLengthPlusOne)
{
    EXPECT_DOUBLE_EQ(SubtitleDiscovery::Score(QStringLiteral("Movie.Name"),
                                              QStringLiteral("Movie.Name")), 1.1);
    EXPECT_DOUBLE_EQ(SubtitleDiscovery::Score(QStringLiteral("Movie.Name"),
                                              QStringLiteral("movie_name")), 1.1);
    EXPECT_EQ(SubtitleDiscovery::Score(QStringLiteral("Movie.Name"), QStringLiteral("Other")), 0);
    // Substrings count, and so does each repetition; runs of separators give empty words.
    EXPECT_DOUBLE_EQ(SubtitleDiscovery::Score(QStringLiteral("Movie.Name"), QStringLiteral("a")),
                     0.2);
    EXPECT_DOUBLE_EQ(SubtitleDiscovery::Score(QStringLiteral("Movie.Name"),
                                              QStringLiteral("Movie--Movie")), 1.2);
    EXPECT_EQ(SubtitleDiscovery::Score(QString(), QStringLiteral("Movie")), 0);
    EXPECT_FALSE(SubtitleDiscovery::IsWorthTrying(0.25));
    EXPECT_FALSE(SubtitleDiscovery::IsWorthTrying(std::nan("")));
    EXPECT_TRUE(SubtitleDiscovery::IsWorthTrying(0.2501));
}

TEST_F(DiscoveryTest, RanksSubtitleLookingFilesOfBothFolders)
{
    const QString video = touch(QStringLiteral("films/Movie.Name.avi"));
    const QString best = touch(QStringLiteral("films/Movie.Name.srt"));
    const QString other = touch(QStringLiteral("films/Other.srt"));
    const QString upper = touch(QStringLiteral("films/movie_name.SUB"));
    const QString text = touch(QStringLiteral("films/Name.TXT"));
    const QString mixed = touch(QStringLiteral("films/a.Sub"));
    touch(QStringLiteral("films/Movie.Name.idx"));
    touch(QStringLiteral("films/Movie.Name.ass"));
    touch(QStringLiteral("films/Movie.srt/inside.txt"));        // a folder that looks like one
    const QString elsewhere = touch(QStringLiteral("subs/Movie.srt"));
    const QString lastChosen = m_dir.filePath(QStringLiteral("subs/Old.srt"));

    const auto ranked = SubtitleDiscovery::RankCandidates(video, lastChosen);
    ASSERT_EQ(ranked.size(), 6);      // five in films, one in subs (Old.srt itself is gone)
    EXPECT_DOUBLE_EQ(scoreOf(ranked, best), 1.1);
    EXPECT_DOUBLE_EQ(scoreOf(ranked, upper), 1.1);
    EXPECT_DOUBLE_EQ(scoreOf(ranked, text), 0.5);
    EXPECT_DOUBLE_EQ(scoreOf(ranked, elsewhere), 0.6);
    EXPECT_DOUBLE_EQ(scoreOf(ranked, mixed), 0.2);
    EXPECT_EQ(scoreOf(ranked, other), 0);
    for (qsizetype i = 1; i < ranked.size(); ++i)
        EXPECT_GE(float(ranked[i - 1].score), float(ranked[i].score));
    EXPECT_TRUE(ranked[0].path == best || ranked[0].path == upper);
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
}

TEST_F(DiscoveryTest, VideoWithoutATitleScoresEverythingZero)
{
    const QString video = touch(QStringLiteral("films/.avi"));
    touch(QStringLiteral("films/Movie.srt"));
    const auto ranked = SubtitleDiscovery::RankCandidates(video, QString());
    ASSERT_EQ(ranked.size(), 1);
    EXPECT_EQ(ranked[0].score, 0);
}
