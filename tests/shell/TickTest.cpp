#include "ShellFixture.h"

#include "controls/nSlider.h"

namespace {
frmMain::TickInput At(double seconds, PlayerStatus status = PlayerStatus::Playing)
{
    frmMain::TickInput input;
    input.position = seconds;
    input.duration = 20;
    input.status = status;
    input.currentFile = QStringLiteral("/films/clip.avi");
    return input;
}
} // namespace

TEST_F(ShellTest, TickFollowsThePlayerAndChangesTheOverlayOnlyWithTheEntry)
{
    frmMain& w = Start();
    w.RunTick(At(3725));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Tavrell Veltrix - /films/clip.avi"));
    // Opening or nothing open: the bare title, no time, no overlay.
    w.RunTick(At(0, PlayerStatus::Opening));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Tavrell Veltrix"));
    EXPECT_FALSE(overlay->visible);
    // With no duration the slider keeps its value.
    w.sldPos->SetValue(0.25);
    frmMain::TickInput noDuration = At(3);
    noDuration.duration = 0;
    w.RunTick(noDuration);
    EXPECT_DOUBLE_EQ(w.sldPos->Value(), 0.25);

    // A notice for the first five seconds, then the lookup.
    const QString subtitles = Write(QStringLiteral("timed.srt"),
                                    "1\r\n00:00:06,000 --> 00:00:07,000\r\nfirst\r\n\r\n"
                                    "2\r\n00:00:07,001 --> 00:00:08,000\r\nfirst\r\n\r\n"
                                    "3\r\n00:00:09,000 --> 00:00:10,000\r\nthird\r\n\r\n");
    w.LoadSubtitleFile(subtitles);
    w.RunTick(At(4.99));
    ASSERT_TRUE(overlay->shown);
    EXPECT_EQ(overlay->shown->Text, QStringLiteral("Loaded subtitle file:\r\n") + subtitles);
    EXPECT_TRUE(overlay->shown->Italic);
    // A fresh notice object each tick is not a change of entry: no flicker.
    int hides = overlay->hides;
    w.RunTick(At(4.995));
    EXPECT_EQ(overlay->hides, hides);
    EXPECT_TRUE(overlay->visible);
    w.RunTick(At(5.00));
    EXPECT_FALSE(overlay->visible);
    w.RunTick(At(6.2));
    ASSERT_TRUE(overlay->shown);
    EXPECT_EQ(overlay->shown->Text, QStringLiteral("first"));
    EXPECT_DOUBLE_EQ(w.sldPos->Value(), 6.2 / 20);

    hides = overlay->hides;
    const int releases = overlay->releases;
    w.RunTick(At(6.4));
    EXPECT_EQ(overlay->hides, hides);
    EXPECT_EQ(overlay->releases, releases);
    // Same text, different entry: laid out afresh.
    w.RunTick(At(7.5));
    EXPECT_EQ(overlay->hides, hides + 1);
    EXPECT_EQ(overlay->releases, releases + 1);
    EXPECT_TRUE(overlay->visible);
    // An entry followed by nothing hides at once.
    w.RunTick(At(8.5));
    EXPECT_FALSE(overlay->visible);
    // A subtitle file opened past five seconds is not announced.
    w.LoadSubtitleFile(subtitles);
    w.RunTick(At(9.5));
    EXPECT_EQ(overlay->shown->Text, QStringLiteral("third"));
}
