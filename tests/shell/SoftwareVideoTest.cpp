// The demo as the player shows it where the only OpenGL renders in software, as on this test's
// X server: mpv draws into memory, and the screen shows the frame the player says it is at,
// also after a trip to full screen. The paused picture is the one the window tests judge.
#include "ShellFixture.h"

#include "media/MpvSoftwareVideoWidget.h"
#include "media/SoftwareOpenGL.h"
#include "media/frmMP2.h"
#include "window/XProbe.h"

#include <QImage>
#include <QScreen>

#include <cmath>

namespace {
// The frame number the picture box shows, read off the screen; -1 when it cannot be read.
int frameOnScreen(QWidget* pic, const TestVideoFormat& format)
{
    // Where X has it: Qt's idea lags a move the window manager has not made yet.
    const QPoint origin =
        XProbe().OnScreen(xid(pic->window()), pic->mapTo(pic->window(), QPoint(0, 0)));
    const QImage shot = QGuiApplication::primaryScreen()
                            ->grabWindow(0, origin.x(), origin.y(), format.width, format.height)
                            .toImage()
                            .convertToFormat(QImage::Format_BGR888);
    if (shot.size() != QSize(format.width, format.height))
        return -1;
    QByteArray frame;
    for (int y = 0; y < shot.height(); ++y)
        frame.append(reinterpret_cast<const char*>(shot.constScanLine(y)), format.width * 3);
    return ReadTestVideoFrameCounter(format, frame);
}

// The frame on screen, checked against the player's position read just before and after.
int frameInStep(QWidget* pic, const TestVideoFormat& format)
{
    const double before = modMain::Player().Position();
    const int shown = frameOnScreen(pic, format);
    const double after = modMain::Player().Position();
    EXPECT_GE(shown, int(std::floor(before * 25)) - 3) << "position " << before;
    EXPECT_LE(shown, int(std::ceil(after * 25)) + 2) << "position " << after;
    return shown;
}
}  // namespace

TEST(SoftwareVideo, KnowsSoftwareRenderersFromHardwareOnes)
{
    for (const char* software :
         {"llvmpipe (LLVM 15.0.6, 256 bits)", "softpipe", "SWR (LLVM 6.0, 256 bits)"})
        EXPECT_TRUE(SoftwareOpenGL::IsSoftwareRenderer(software)) << software;
    // Hardware drivers built with LLVM name it too.
    for (const char* hardware :
         {"AMD Radeon RX 580 Series (polaris10, LLVM 15.0.6, DRM 3.49)", "Mesa Intel(R) UHD", ""})
        EXPECT_FALSE(SoftwareOpenGL::IsSoftwareRenderer(hardware)) << hardware;
}

TEST_F(ShellTest, ScreenShowsTheFrameThePlayerIsAtWhereOpenGLIsSoftware)
{
    if (!OnAnXDisplay())
        GTEST_SKIP() << "needs an X display";
    if (!SoftwareOpenGL::InUse())
        GTEST_SKIP() << "this display has a hardware OpenGL; the video goes through it";
    // As the demo is written.
    const TestVideoFormat format{.width = 640, .height = 360, .frames = 250, .frameCounter = true,
                                 .codec = TestVideoCodec::MotionJpeg};
    const QString video = dir.filePath(QStringLiteral("Counted.avi"));
    ASSERT_TRUE(WriteTestAvi(video, format));
    Start(video, EngineOptions::ForCurrentDisplay(), true);
    ASSERT_EQ(modMain::Player().Status(), 4);
    auto* picture = qobject_cast<MpvSoftwareVideoWidget*>(modMain::Player().EngineHost2()->MP());
    ASSERT_NE(picture, nullptr) << "a software OpenGL means drawing into memory";
    QWidget* pic = modMain::Player().Container();
    ASSERT_EQ(pic->size(), QSize(format.width, format.height)) << "opened at the video's size";

    ASSERT_TRUE(WaitUntil([] { return modMain::Player().Position() > 1.0; }, 10000));
    const int first = frameInStep(pic, format);

    modMain::Player().SetFullScreen(true);
    ASSERT_TRUE(WaitUntil([&] { return pic->window() != window.get(); }));
    const int drawnBefore = picture->FramesDrawn();
    EXPECT_TRUE(WaitUntil([&] { return picture->FramesDrawn() > drawnBefore + 2; }))
        << "full screen keeps drawing";
    modMain::Player().SetFullScreen(false);
    ASSERT_TRUE(WaitUntil([&] { return pic->window() == window.get(); }));
    EXPECT_TRUE(WaitUntil([&] { return frameOnScreen(pic, format) > first; }))
        << "back in the window, still playing";
    EXPECT_GT(frameInStep(pic, format), first);
}
