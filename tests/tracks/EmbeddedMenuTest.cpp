#include "ShellFixture.h"
#include "TrackMedia.h"

#include "settings/SettingNames.h"

#include "WaitUntil.h"

#include <QMenu>

namespace {

class EmbeddedTracksTest : public ShellTest {
protected:
    void TearDown() override
    {
        ShellTest::TearDown();
        QLocale::setDefault(QLocale::system());
    }

    frmMain& StartWith(const QString& video, bool autoOpen, QLocale::Language language)
    {
        QLocale::setDefault(QLocale(language));
        StoreBeforeStart(SettingNames::SubAutoOpen, autoOpen, SettingBoolean);
        frmMain& w = Start(video);
        EXPECT_EQ(modMain::Player().Status(), 4);
        EXPECT_TRUE(WaitUntil([&] { return !w.EmbeddedTracksBusy(); }, 10000));
        return w;
    }

    QList<QAction*> menuItems(frmMain& w)
    {
        emit w.mnuSubtitlesEmbedded->aboutToShow();
        return w.mnuSubtitlesEmbedded->actions();
    }

    QString film = TrackMedia::Matroska(QDir(dir.path()));
};

TEST_F(EmbeddedTracksTest, TheMenuListsEveryTrackAndAChosenOneLoadsAsAFile)
{
    ASSERT_FALSE(film.isEmpty());
    frmMain& w = StartWith(film, false, QLocale::English);
    EXPECT_TRUE(w.SubReader().Filename().isEmpty());   // automatic opening is off
    const QList<QAction*> items = menuItems(w);
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[0]->text(), QStringLiteral("&1  English, Full (SubRip)"));
    EXPECT_EQ(items[1]->text(), QStringLiteral("&2  German (ASS)"));
    EXPECT_EQ(items[2]->text(), QStringLiteral("&3  French (PGS) (pictures: not supported)"));
    EXPECT_FALSE(items[2]->isEnabled());   // the others load below

    w.mnuSubtitleFramerateOption[4]->trigger();   // 25 fps, which a load keeps
    w.SubReader().delay = 700;                    // which a load resets
    menuItems(w)[1]->trigger();
    ASSERT_TRUE(WaitUntil([&] { return !w.SubReader().Filename().isEmpty(); }));
    EXPECT_EQ(w.SubReader().Filename(), film + QStringLiteral(" #2 (ger)"));
    EXPECT_EQ(w.SubReader().delay, 0);
    EXPECT_EQ(w.SubReader().FPS, 25.0);
    // From here the track is a reader like any other: the timing menus and the status line are
    // the status line test's, the lookup under a delay the reader's lookup test.

    // Choosing another track replaces this one in the same reader.
    menuItems(w)[0]->trigger();
    ASSERT_TRUE(WaitUntil([&] { return w.SubReader().Filename().endsWith(" #1 (eng)"); }));
    EXPECT_TRUE(messages.empty());

    // A video without subtitle tracks leaves nothing of the film's in the menu.
    const QString plain = dir.filePath(QStringLiteral("plain.mkv"));
    ASSERT_TRUE(TrackMedia::ffmpeg(TrackMedia::picture(2) + QStringList{"-c:v", "mpeg4", plain}));
    w.OpenFile(plain);
    ASSERT_TRUE(WaitUntil([&] { return !w.EmbeddedTracksBusy(); }));
    ASSERT_EQ(menuItems(w).size(), 1);
    EXPECT_FALSE(menuItems(w)[0]->isEnabled());
}

// Without a track in the user's language the choice falls to the default track: TrackChoiceTest.
TEST_F(EmbeddedTracksTest, DiscoveryByLanguageQuietOnAnEmptyTrackAndAFileBesideFirst)
{
    frmMain& w = StartWith(film, true, QLocale::English);
    ASSERT_TRUE(WaitUntil([&] { return !w.SubReader().Filename().isEmpty(); }));
    EXPECT_EQ(w.SubReader().Filename(), film + QStringLiteral(" #1 (eng)"));
    EXPECT_TRUE(menuItems(w)[0]->isChecked());

    // A track with nothing to show: discovery stays silent, the menu's choice is reported.
    const QString empty = dir.filePath(QStringLiteral("empty.mkv"));
    ASSERT_TRUE(TrackMedia::ffmpeg(TrackMedia::picture(2) + QStringList{
        "-i", TrackMedia::source(QDir(dir.path()), "film.srt"), "-c:v", "mpeg4", "-c:s", "srt",
        "-t", "0.5", empty}));
    w.OpenFile(empty);
    ASSERT_TRUE(WaitUntil([&] { return !w.EmbeddedTracksBusy(); }));
    EXPECT_TRUE(w.SubReader().Filename().isEmpty());
    EXPECT_TRUE(messages.empty());
    menuItems(w)[0]->trigger();
    ASSERT_TRUE(WaitUntil([&] { return !messages.empty(); }));
    EXPECT_EQ(messages[0].icon, QMessageBox::Critical);
    EXPECT_TRUE(messages[0].text.startsWith(QStringLiteral("The subtitle track could not")));
    EXPECT_TRUE(w.SubReader().Filename().isEmpty());

    // A file opened and closed again before the track is read: the subtitles stay closed.
    w.OpenFile(film);
    w.LoadSubtitleFile(TrackMedia::source(QDir(dir.path()), "film.srt"));
    w.mnuSubtitlesClose_Click();
    ASSERT_TRUE(WaitUntil([&] { return !w.EmbeddedTracksBusy(); }));
    EXPECT_TRUE(w.SubReader().Filename().isEmpty());

    const QString beside = dir.filePath(QStringLiteral("Film.srt"));
    ASSERT_TRUE(TrackMedia::write(beside, TrackMedia::SubRip));
    w.OpenFile(film);
    ASSERT_TRUE(WaitUntil([&] { return !w.EmbeddedTracksBusy(); }));
    EXPECT_EQ(w.SubReader().Filename(), beside);
    EXPECT_EQ(w.EmbeddedTracks().size(), 3u) << "the tracks are listed all the same";
}

} // namespace
