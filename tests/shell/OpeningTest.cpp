#include "ShellFixture.h"

#include "mediagen/TestMatroska.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

using modMain::AppSettings;
using modMain::Player;

namespace {
QByteArray srt(const char* firstLine)
{
    return QByteArray("1\r\n00:00:01,000 --> 00:00:02,000\r\n") + firstLine
        + "\r\n\r\n2\r\n00:00:06,000 --> 00:00:07,500\r\n<i>second</i>\r\n\r\n";
}

} // namespace

// Discovery tries the best-named file of the video's folder and of the last subtitle folder, skips
// one that fails to load, and runs only while its switch is on.
TEST_F(ShellTest, DiscoveryLoadsTheBestNamedFileThatLoadsWhileSwitchedOn)
{
    const QString films = dir.filePath(QStringLiteral("films/"));
    const QString subs = dir.filePath(QStringLiteral("subs/"));
    const QString video = Video(films + QStringLiteral("Movie.Name.avi"), 50);
    // The best-named file holds a single entry, which does not load; the next one does.
    Write(films + QStringLiteral("Movie.Name.srt"),
          "1\r\n00:00:01,000 --> 00:00:02,000\r\nx\r\n");
    Write(subs + QStringLiteral("movie.name.SRT"), srt("right one"));
    Write(films + QStringLiteral("Movie.srt"), srt("wrong one"));
    StoreBeforeStart(QStringLiteral("PATHSUBS"), subs + QStringLiteral("earlier.srt"),
                     SettingString);
    frmMain& w = Start(video);
    EXPECT_TRUE(messages.empty());
    EXPECT_GE(Player().Status(), 2);
    EXPECT_EQ(w.SubReader().Filename(), subs + QStringLiteral("movie.name.SRT"));
    EXPECT_TRUE(w.mnuSubtitlesClose->isEnabled());
    w.mnuSubtitlesClose_Click();
    EXPECT_TRUE(w.SubReader().Filename().isEmpty());
    EXPECT_FALSE(w.mnuSubtitlesClose->isEnabled());

    w.mnuSubtitlesAutoOpen_Click();
    EXPECT_FALSE(w.mnuSubtitlesAutoOpen->isChecked());
    w.OpenFile(video);
    EXPECT_TRUE(w.SubReader().Filename().isEmpty());
    EXPECT_EQ(StoredAfterShutdown(QStringLiteral("SUBAUTOOPEN")), QVariant(false));
}

// Subtitles loaded before any video stay when nothing is found beside it; dropped together, a
// video and a subtitle file open in either order, the dropped file winning over the one found.
TEST_F(ShellTest, EarlierAndDroppedSubtitlesWinOverDiscovery)
{
    const QString films = dir.filePath(QStringLiteral("films/"));
    const QString holiday = Video(films + QStringLiteral("Holiday.avi"), 50);
    const QString early = Write(QStringLiteral("elsewhere/Unrelated.srt"), srt("kept"));
    const QString video = Video(films + QStringLiteral("Movie.avi"), 50);
    Write(films + QStringLiteral("Movie.srt"), srt("found beside"));
    const QString chosen = Write(QStringLiteral("subs/Other language.srt"), srt("chosen"));
    const QString later = Write(QStringLiteral("subs/Third.srt"), srt("later"));
    frmMain& w = Start();
    w.LoadSubtitleFile(early);
    w.OpenFile(holiday);
    EXPECT_EQ(w.SubReader().Filename(), early);
    // With a video open, opening the next one drops the old subtitles first.
    w.OpenFile(holiday);
    EXPECT_TRUE(w.SubReader().Filename().isEmpty());

    const auto drop = [&w](const QList<QUrl>& urls) {
        QMimeData data;
        data.setUrls(urls);
        QDropEvent event(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        // Straight to the window: the application delivers drops only inside a drag it runs.
        static_cast<QObject&>(w).event(&event);
    };
    drop({QUrl::fromLocalFile(chosen), QUrl::fromLocalFile(video)});
    EXPECT_EQ(Player().CurrentFile(), video);
    EXPECT_GE(Player().Status(), 2);
    EXPECT_EQ(w.SubReader().Filename(), chosen);
    // A subtitle file dropped alone replaces the subtitles and leaves the video playing.
    drop({QUrl::fromLocalFile(later)});
    EXPECT_EQ(Player().CurrentFile(), video);
    EXPECT_EQ(w.SubReader().Filename(), later);
    EXPECT_TRUE(messages.empty());
}

TEST_F(ShellTest, FailuresAreReportedWithTheirTexts)
{
    const QString films = dir.filePath(QStringLiteral("films/"));
    const QString junk = films + QStringLiteral("notes.avi");
    Write(junk, QByteArray(4000, 'x'));
    const QString frames = films + QStringLiteral("frames.sub");
    Write(frames, "{25}{50}one\r\n{75}{100}two\r\n");
    Write(films + QStringLiteral("broken.srt"), "nothing to see");
    const QString mkvLike = Video(films + QStringLiteral("clip.avi"), 50);

    frmMain& w = Start();
    Player().SetOpenTimeout(3000);
    w.OpenFile(junk);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].text.contains(junk));
    // A frame-based file with no video open is not warned about.
    w.LoadSubtitleFile(frames);
    EXPECT_EQ(messages.size(), 1u);
    w.LoadSubtitleFile(films + QStringLiteral("broken.srt"));
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1].icon, QMessageBox::Critical);
    // An AVI gives a frame rate, so a frame-based file plays without a warning.
    w.OpenFile(mkvLike);
    w.LoadSubtitleFile(frames);
    EXPECT_EQ(messages.size(), 2u);
    EXPECT_TRUE(w.SubReader().Frames);
    // A video without a frame rate: warned, and the file stays loaded.
    const QString mkv = films + QStringLiteral("clip.mkv");
    ASSERT_TRUE(WriteTestMatroska(mkvLike, mkv));
    w.OpenFile(mkv);
    w.LoadSubtitleFile(frames);
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[2].icon, QMessageBox::Warning);
    EXPECT_EQ(w.SubReader().Filename(), frames);
}
