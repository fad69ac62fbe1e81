// Both engines drawing into real windows: pixels on screen, the picture box moved between
// top-level windows while playing, and real X clicks on the video.
#include "GeneratedMedia.h"
#include "MediaTestHost.h"
#include "WaitUntil.h"
#include "window/ScreenPixels.h"
#include "window/XProbe.h"

#include "media/frmMP1.h"
#include "media/frmMP2.h"
#include "media/MpvVideoWidget.h"

#include <QGuiApplication>

namespace {

// Until over 30 % of the picture box's screen pixels show the test video's orange background.
::testing::AssertionResult PictureShows(QWidget* pic)
{
    return WaitUntil([&] {
        const QRect area(pic->mapToGlobal(QPoint(0, 0)), pic->size());
        return PixelsOnScreen(area, IsTestVideoOrange) * 10 > area.width() * area.height() * 3;
    });
}

// An engine, and whether it keeps off an OpenGL that renders in software (as the player does;
// under Xvfb every OpenGL does, so engine 1 scales and draws through X11).
struct Drawing {
    long engine;
    bool avoidSoftwareOpenGL;
    const char* name;
};

class WindowTest : public ::testing::TestWithParam<Drawing> {};

INSTANTIATE_TEST_SUITE_P(Engines, WindowTest,
                         ::testing::Values(Drawing{1, false, "GStreamer"}, Drawing{2, false, "Mpv"},
                                           Drawing{1, true, "GStreamerWithoutSoftwareOpenGL"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_P(WindowTest, VideoAppearsPlaysOrStaysPausedAcrossWindowsAndTakesRealClicks)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs an X display";
    MediaTestHost host;
    MediaPlayerController player;
    ASSERT_TRUE(OpenOnScreen(player, host, GetParam().engine, GeneratedMedia::Get().avi,
                             GetParam().avoidSoftwareOpenGL));
    QWidget* pic = player.Container();
    ASSERT_NE(pic, nullptr);
    EXPECT_TRUE(PictureShows(pic));
    const double before = player.Position();
    for (const bool paused : {false, true}) {
        const long status = paused ? 3 : 4;
        if (paused) {
            player.Pause();
            ASSERT_TRUE(WaitUntil([&] { return player.Status() == 3; }, 3000));
            player.SetPosition(2.0);
            ASSERT_TRUE(WaitUntil([&] { return std::abs(player.Position() - 2.0) < 0.01; }, 3000));
        }
        for (const bool fullScreen : {true, false}) {
            SCOPED_TRACE(testing::Message() << "paused " << paused << ", full " << fullScreen);
            player.SetFullScreen(fullScreen);
            // Until the window it moved to is on screen, the old one still shows the picture.
            QWidget* window = fullScreen ? host.FullScreenWindow() : host.MainWindow();
            ASSERT_TRUE(window);
            ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
            ASSERT_EQ(pic->window(), window);
            EXPECT_TRUE(PictureShows(pic));
            if (GetParam().engine == 2 && fullScreen && !paused) {
                auto* video = static_cast<MpvVideoWidget*>(player.EngineHost2()->MP());
                EXPECT_GE(video->RenderContextsCreated(), 2) << "a new window, a new GL context";
            }
            EXPECT_TRUE(WaitUntil([&] { return player.Status() == status; }, 5000))
                << "status " << player.Status();
            if (paused)
                EXPECT_NEAR(player.Position(), 2.0, 0.05);
            else
                EXPECT_GE(player.Position(), before) << "playback carries on where it was";
        }
    }

    // Real clicks on the video, paused in the main window.
    QWidget* mp = GetParam().engine == 1 ? player.EngineHost1()->MP() : player.EngineHost2()->MP();
    const QPoint middle = mp->mapToGlobal(QPoint(mp->width() / 2, mp->height() / 2));
    XProbe probe;
    ASSERT_TRUE(probe);
    probe.Click(middle, 3);
    EXPECT_TRUE(WaitUntil([&] { return host.menuCalls == 1; }, 3000))
        << "a right click on the video opens the Video menu";
    probe.Click(middle, 1);
    if (GetParam().engine == 2) {
        EXPECT_TRUE(WaitUntil([&] { return player.Status() == 4; }, 3000))
            << "a left click toggles engine 2";
    } else {
        EXPECT_FALSE(WaitUntil([&] { return player.Status() != 3; }, 300))
            << "engine 1 ignores a left click";
    }
}

}  // namespace
