// The player as a user meets it: a real window on an X server with a window manager, the
// default engine drawing the demo video, the subtitle of the moment over it.
#include "ShellFixture.h"
#include "window/ScreenPixels.h"

#include "controls/nSlider.h"

TEST_F(ShellTest, DemoPlaysWithItsSubtitlesAndSettingsSurviveQuitting)
{
    if (!OnAnXDisplay())
        GTEST_SKIP() << "needs an X display";
    const QString video = Video(QStringLiteral("Demo Clip.avi"), 250, {320, 240});
    const QString srt = Write(QStringLiteral("Demo Clip.srt"),
                              "1\r\n00:00:05,100 --> 00:00:09,000\r\nWWWWWWWW\r\n\r\n"
                              "2\r\n00:00:09,100 --> 00:00:09,900\r\nend\r\n\r\n");
    Start(video, EngineOptions(), true);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(modMain::Player().Status(), 4);
    EXPECT_EQ(window->SubReader().Filename(), srt);
    ASSERT_TRUE(WaitUntil([] { return modMain::Player().Position() > 5.6; }, 15000));

    const QRect area(window->picFrame->mapToGlobal(QPoint(0, 0)), window->picFrame->size());
    const QRect upper(area.topLeft(), QSize(area.width(), area.height() / 2));
    const QRect lower(area.left(), area.top() + area.height() * 3 / 4, area.width(),
                      area.height() / 4);
    // The video is drawn, and white text appears in the lower quarter where the square never is.
    EXPECT_GT(PixelsOnScreen(upper, IsTestVideoOrange), upper.width() * upper.height() / 3);
    EXPECT_GT(PixelsOnScreen(lower, IsWhite), 50);
    ASSERT_TRUE(window->ShownSub());
    EXPECT_EQ(window->ShownSub()->Text, QStringLiteral("WWWWWWWW"));

    window->sldVolume->SetValue(0.3);
    window->sldVolume_Release();
    window->mnuFileExit->trigger();
    window.reset();
    int count = 0;
    EXPECT_EQ(InRegistry(QStringLiteral("VOLUME"), &count).toInt(), 30);
    EXPECT_EQ(InRegistry(QStringLiteral("MPTYPE")).toInt(), 2);
    EXPECT_EQ(count, 8);
}
