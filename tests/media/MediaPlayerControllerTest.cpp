// Both engines, for real, headless: null video and audio outputs, media written by the tests.
#include "GeneratedMedia.h"
#include "MediaTestHost.h"

#include "media/frmMP1.h"
#include "media/frmMP2.h"
#include "WaitUntil.h"

#include <QElapsedTimer>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>

#include <cmath>
#include <tuple>
#include <sys/stat.h>

namespace {

// Engines with no picture and no sound device: the tests run headless.
EngineOptions HeadlessOptions()
{
    EngineOptions options;
    options.videoOutput = false;
    options.audioOutput = false;
    return options;
}

class EngineTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override
    {
        player.SetEngineOptions(HeadlessOptions());
        player.SetWindowHost(&host);
        ASSERT_TRUE(player.SetMP(GetParam())) << player.EngineLoadError().toStdString();
    }

    ::testing::AssertionResult waitForStatus(long status)
    {
        return WaitUntil([&] { return player.Status() == status; });
    }

    const GeneratedMedia& media = GeneratedMedia::Get();
    MediaTestHost host;
    MediaPlayerController player;
};

INSTANTIATE_TEST_SUITE_P(Engines, EngineTest, ::testing::Values(1, 2), [](const auto& info) {
    return std::string(info.param == 1 ? "GStreamer" : "Mpv");
});

// Volume and mute outlive the open and the engine's reload, which finds the medium paused
// where it was; with no engine the player answers empty.
TEST_P(EngineTest, OpenPlaysWhileTheEventLoopRunsSeeksReloadsAndCountsTheFramesOfAnAviOnly)
{
    int ticks = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] { ++ticks; });
    tick.start(5);
    player.SetVolume(37);
    player.SetMute(true);
    ASSERT_TRUE(player.OpenFile(media.avi));
    EXPECT_GT(ticks, 0) << "timers fire while a file opens";
    EXPECT_FALSE(player.HasError());
    EXPECT_NEAR(player.Duration(), 4.0, 0.05);
    EXPECT_EQ(player.GetFRUS(), 40000);
    EXPECT_TRUE(WaitUntil([&] { return player.Position() > 0.1; }, 3000))
        << "the position must advance while playing";
    EXPECT_GT(host.ableCalls, 0) << "state changes reach the window refresh";

    player.Pause();
    ASSERT_TRUE(waitForStatus(3));
    player.SetPosition(2.5);
    EXPECT_NEAR(player.Position(), 2.5, 0.001) << "the target reads back at once";
    EXPECT_FALSE(WaitUntil([&] { return std::abs(player.Position() - 2.5) > 0.001; }, 300))
        << "and stays once the engine got there";
    EXPECT_EQ(player.PositionFrame(), Currency::fromRaw(625000));

    ASSERT_TRUE(player.SetMP(GetParam()));
    EXPECT_EQ(player.CurrentFile(), media.avi);
    EXPECT_TRUE(waitForStatus(3)) << "a paused medium comes back paused";
    EXPECT_TRUE(WaitUntil([&] { return std::abs(player.Position() - 2.5) < 0.05; }));
    EXPECT_EQ(player.Volume(), 37);
    EXPECT_TRUE(player.Mute());
    player.SetPosition(3.0);
    player.Play();
    EXPECT_TRUE(WaitUntil([&] { return player.Position() > 3.1; }, 3000));

    ASSERT_TRUE(player.OpenFile(media.matroska));
    EXPECT_EQ(player.GetFRUS(), 0);
    player.SetPosition(1.0);
    EXPECT_EQ(player.PositionFrame(), Currency());

    QPointer<QWidget> pic = player.Container();
    ASSERT_TRUE(player.SetMP(0));
    EXPECT_TRUE(pic.isNull()) << "the picture box went back to its form and with it";
    EXPECT_TRUE(host.VideoArea()->findChildren<QWidget*>().isEmpty());
    EXPECT_EQ(player.Status(), 0);
    EXPECT_EQ(player.CurrentFile(), QString());
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(player.OpenFile(media.avi));
    EXPECT_LT(timer.elapsed(), 1000);
    EXPECT_EQ(player.GetFRUS(), 40000) << "the header is still read";
    player.Play();
    EXPECT_EQ(player.Status(), 0);
}

TEST_P(EngineTest, UnplayableFilesFailPromptlyTheEndOfTheMediaStopsAndTransportGivesItsStatus)
{
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(player.OpenFile(media.dir.filePath(QStringLiteral("missing.avi"))));
    EXPECT_FALSE(player.OpenFile(media.empty));
    EXPECT_LT(timer.elapsed(), 100) << "no engine is asked about these";
    timer.restart();
    EXPECT_FALSE(player.OpenFile(media.junk));
    EXPECT_LT(timer.elapsed(), 5000) << "an engine that rejects the file ends the wait";
    EXPECT_TRUE(player.HasError());
    EXPECT_NE(player.Status(), 4);
    // Subtitles, sound and a cover as FIFOs nobody writes to: any of them opened blocks the
    // open until the bound.
    QTemporaryDir folder;
    const QString video = folder.filePath(QStringLiteral("film.avi"));
    ASSERT_TRUE(QFile::copy(media.shortAvi, video));
    for (const char* name : {"film.srt", "film.ass", "film.mka", "film.ac3", "cover.jpg"})
        ASSERT_EQ(mkfifo(qPrintable(folder.filePath(QString::fromLatin1(name))), 0600), 0);
    timer.restart();
    ASSERT_TRUE(player.OpenFile(video)) << "a good file plays after a bad one";
    EXPECT_LT(timer.elapsed(), 5000);
    EXPECT_FALSE(player.HasError());

    EXPECT_TRUE(waitForStatus(2)) << "the end stops at the start; status " << player.Status();
    EXPECT_NEAR(player.Position(), 0.0, 0.05);
    EXPECT_EQ(player.CurrentFile(), video);
    player.Play();
    EXPECT_TRUE(waitForStatus(4)) << "and it plays again from the start";

    ASSERT_TRUE(player.OpenFile(media.avi));
    player.Pause();
    EXPECT_TRUE(waitForStatus(3));
    player.PlayToggle();
    EXPECT_TRUE(waitForStatus(4));
    player.PlayToggle();
    EXPECT_TRUE(waitForStatus(3));
    player.SetPosition(1.0);
    ASSERT_TRUE(WaitUntil([&] { return std::abs(player.Position() - 1.0) < 0.05; }));
    player.Stop_();
    EXPECT_TRUE(waitForStatus(2));
    EXPECT_NEAR(player.Position(), 0.0, 0.05);
    player.PlayToggle();  // stopped: nothing happens
    EXPECT_FALSE(WaitUntil([&] { return player.Status() != 2; }, 200));
}

TEST_P(EngineTest, ThePictureBoxFollowsItsHostSizesItAndOpensTheMenuOnARightRelease)
{
    QWidget* main = host.MainWindow();
    const QSize before = main->size();
    player.SetZoom(2.0);
    EXPECT_EQ(main->size(), before) << "no video size known: the window stays";

    ASSERT_TRUE(player.OpenFile(media.avi));
    QWidget* pic = player.Container();
    ASSERT_NE(pic, nullptr);
    EXPECT_EQ(pic->parentWidget(), host.VideoArea());
    player.SetZoom(1.5);
    // The window's chrome around the 320 x 240 video area was 80 x 60.
    EXPECT_EQ(main->size(), QSize(160 * 3 / 2 + 80, 120 * 3 / 2 + 60));
    // What the main window's layout does on its resize.
    host.VideoArea()->resize(200, 240);
    player.Resize();
    EXPECT_EQ(player.Width(), 200);
    EXPECT_DOUBLE_EQ(player.Zoom(), 1.25);
    QWidget* mp = GetParam() == 1 ? player.EngineHost1()->MP() : player.EngineHost2()->MP();
    EXPECT_EQ(mp->size(), pic->size()) << "the engine's widget keeps the picture box's size";

    player.SetFullScreen(false);  // the current value: nothing at all
    EXPECT_EQ(host.overlayReleases, 0);
    player.SetFullScreen(true);
    ASSERT_NE(host.FullScreenWindow(), nullptr);
    EXPECT_EQ(pic->parentWidget(), host.FullScreenWindow());
    EXPECT_EQ(pic->size(), host.FullScreenWindow()->size());
    player.SetFullScreen(false);
    EXPECT_EQ(pic->parentWidget(), host.VideoArea());
    EXPECT_EQ(host.FullScreenWindow(), nullptr);
    EXPECT_EQ(host.alwaysOnTopCalls, 1);
    EXPECT_EQ(host.overlayReleases, 2);
    EXPECT_EQ(player.Status(), 4) << "playback goes on through the move";

    QTest::mousePress(mp, Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_EQ(host.menuCalls, 0) << "a right press neither toggles nor opens the menu";
    EXPECT_EQ(player.Status(), 4);
    QTest::mouseRelease(mp, Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_EQ(host.menuCalls, 1);
    EXPECT_EQ(host.menuOwner, host.MainWindow());
    QWidget overlay;
    host.SetSubtitleWindow(&overlay);
    QTest::mouseRelease(mp, Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_EQ(host.menuOwner, &overlay) << "the pop-up belongs to the overlay when it is loaded";
}

TEST(EngineVolumeCurve, GStreamerHoldsHundredthsOfDecibel)
{
    MediaPlayerController player;
    player.SetEngineOptions(HeadlessOptions());
    ASSERT_TRUE(player.SetMP(1));
    GstPlayerControl& control = player.EngineHost1()->Control();
    // The volume, in hundredths of a decibel and as an amplitude (-70 dB and -8.75 dB).
    const std::tuple<long, long, double> steps[] = {{0, -7000, 0.000316}, {50, -875, 0.36517},
                                                    {100, 0, 1.0}};
    for (const auto& [volume, hundredths, amplitude] : steps) {
        player.SetVolume(volume);
        EXPECT_EQ(control.Volume(), hundredths);
        EXPECT_EQ(player.Volume(), volume);
        EXPECT_NEAR(control.AppliedLinearVolume(), amplitude, 1e-5);
    }
    player.SetMute(true);
    player.SetVolume(100);
    EXPECT_EQ(control.AppliedLinearVolume(), 0.0);
}

}  // namespace
