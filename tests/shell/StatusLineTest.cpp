#include "ShellFixture.h"

#include "controls/OleColor.h"
#include "controls/XFlatButton.h"

#include <QImage>
#include <QSet>
#include <QTest>

using StatusLine::ClockText;

namespace {
StatusLineInput Playing(double position = 0)
{
    StatusLineInput input;
    input.status = PlayerStatus::Playing;
    input.position = position;
    return input;
}

// The cell painted below shows the forms the menus reach; here the frame rate, a negative delay,
// a fractional rate, no film, the clock and the frame number.
TEST(StatusLineText, RateSubtitleStateTimeAndFrame)
{
    StatusLineInput input = Playing();
    input.videoFps = 25;
    EXPECT_EQ(StatusLine::FrameRate(input), QStringLiteral("25 fps  "));
    input.videoFps = 1e6 / 41708;   // 23.97621...
    EXPECT_EQ(StatusLine::FrameRate(input), QStringLiteral("23.976 fps  "));
    for (double none : {0.0, -1.0, std::nan("")}) {
        input.videoFps = none;
        EXPECT_TRUE(StatusLine::FrameRate(input).isEmpty()) << none;
    }

    input = Playing();
    input.subtitleFile = QStringLiteral("/films/a.srt");
    input.delay = -500;
    input.subtitleFps = 23.976;
    EXPECT_EQ(StatusLine::SubtitleState(input),
              QStringLiteral("Subtitles (delay -500 ms) (fps: 23.976)"));
    // Nothing open or a file opening: no stale state from the last film.
    for (PlayerStatus status : {PlayerStatus::NoMedia, PlayerStatus::Opening}) {
        input.status = status;
        EXPECT_TRUE(StatusLine::SubtitleState(input).isEmpty());
    }

    const struct {
        double seconds;
        const char* clock;
    } clocks[] = {{0, "00:00"}, {65, "01:05"}, {3599.4, "59:59"}, {3599.6, "1:00:00"},
                  {3725, "1:02:05"}, {2.5, "00:02"},   // halves to even
                  // Past the nine hours a short clock could hold, and nonsense positions.
                  {32768, "9:06:08"}, {40000, "11:06:40"}, {360000, "100:00:00"},
                  {-3, "00:00"}, {std::nan(""), "00:00"}};
    for (const auto& [seconds, clock] : clocks)
        EXPECT_EQ(ClockText(seconds), QString::fromLatin1(clock)) << seconds;

    input = Playing(61.4);
    input.positionFrame = Currency::fromInteger(1535).value();
    EXPECT_EQ(StatusLine::FrameNumber(input), QStringLiteral(" Frame: 1535"));
    input.positionFrame = Currency::fromRaw(15345000);   // 1534.5 -> 1534
    EXPECT_EQ(StatusLine::FrameNumber(input), QStringLiteral(" Frame: 1534"));
    input.positionFrame = Currency::fromRaw(4999);
    EXPECT_TRUE(StatusLine::FrameNumber(input).isEmpty());
    input.status = PlayerStatus::Opening;
    input.positionFrame = Currency::fromInteger(10).value();
    EXPECT_TRUE(StatusLine::Time(input).isEmpty());
    EXPECT_TRUE(StatusLine::FrameNumber(input).isEmpty());
}

bool Same(QRgb a, const QColor& b)
{
    return qRgb(qRed(a), qGreen(a), qBlue(a)) == b.rgb();
}

// Columns of a cell's picture that hold text-coloured pixels, as [first, last].
std::pair<int, int> InkColumns(XFlatButton* cell)
{
    const QImage picture = cell->grab().toImage();
    const QColor back = picture.pixelColor(picture.width() / 2, 1);
    int first = -1, last = -1;
    for (int x = 2; x < picture.width() - 2; ++x) {
        for (int y = 3; y < picture.height() - 3; ++y) {
            const QColor c = picture.pixelColor(x, y);
            if (qAbs(c.lightness() - back.lightness()) > 80) {
                if (first < 0)
                    first = x;
                last = x;
                break;
            }
        }
    }
    return {first, last};
}

// A 25 fps AVI playing for real: every cell paints its own text and the extra texts land at
// the edges the layout promises.
TEST_F(ShellTest, CellsPaintWhatThePlayerReports)
{
    // Wide enough that the window sized to the video leaves the first cell room to show both.
    const QString video = Video(QStringLiteral("clip.avi"), 100, {560, 64});
    frmMain& w = Start();
    w.show();
    w.OpenFile(video);
    ASSERT_TRUE(WaitUntil([] {
        return modMain::Player().PositionFrame() > Currency::fromInteger(3).value();
    }, 10000));
    w.Able();
    // The cell works out its text when it paints.
    const auto subtitleCell = [&] {
        w.cmdStatus[1]->grab();
        return w.cmdStatus[1]->Text();
    };
    EXPECT_EQ(subtitleCell(), QStringLiteral("No subtitles loaded."));
    EXPECT_EQ(w.cmdStatus[0]->Text(), QStringLiteral("Playing"));

    const auto [stateFirst, rateLast] = InkColumns(w.cmdStatus[0]);
    EXPECT_LT(stateFirst, 20);                               // "Playing" from the left ...
    EXPECT_GT(rateLast, w.cmdStatus[0]->width() - 40);       // ... "25 fps" at the right

    w.SubReader().delay = 250;
    w.SubReader().FPS = 25;
    const auto [timeFirst, timeLast] = InkColumns(w.cmdStatus[2]);
    EXPECT_LT(timeFirst, 20);                                // " Frame: n" from the left ...
    EXPECT_GT(timeLast, w.cmdStatus[2]->width() - 12);       // ... the time at the right
    // No file loaded: the corrections wait in the reader but are not announced.
    EXPECT_EQ(subtitleCell(), QStringLiteral("No subtitles loaded."));

    // A loaded file shows the corrections the menus make, in the order they are made.
    w.LoadSubtitleFile(Write(QStringLiteral("other.srt"),
                             "1\r\n00:00:01,000 --> 00:00:02,000\r\nHello\r\n\r\n"
                             "2\r\n00:00:03,000 --> 00:00:04,000\r\nAgain\r\n\r\n"));
    EXPECT_EQ(subtitleCell(), QStringLiteral("Subtitles (fps: 25)"));
    w.mnuSubtitleFramerateOption[0]->trigger();
    EXPECT_EQ(subtitleCell(), QStringLiteral("Subtitles loaded."));
    w.mnuSubtitlesDelayOption[2]->trigger();
    EXPECT_EQ(subtitleCell(), QStringLiteral("Subtitles (delay 250 ms) "));
    w.mnuSubtitleFramerateOption[4]->trigger();
    EXPECT_EQ(subtitleCell(), QStringLiteral("Subtitles (delay 250 ms) (fps: 25)"));

    // Light grey flat text on black in a sunken frame, which a click neither presses nor focuses.
    XFlatButton* cell = w.cmdStatus[1];
    const QImage shot = cell->grab().toImage();
    QSet<QRgb> inside;
    for (int y = 1; y < shot.height() - 1; ++y) {
        for (int x = 1; x < shot.width() - 1; ++x)
            inside.insert(shot.pixel(x, y) | 0xFF000000);
    }
    EXPECT_TRUE(inside.contains(qRgb(0xE0, 0xE0, 0xE0)));
    // Nothing but black, that grey and the smoothing between: no shadow, no colour.
    for (const QRgb c : inside)
        ASSERT_TRUE(qRed(c) == qGreen(c) && qGreen(c) == qBlue(c) && qRed(c) <= 0xE0) << c;
    const QColor shadow = ResolveOleColor(SystemColor::ButtonShadow, cell->palette());
    const QColor light = ResolveOleColor(SystemColor::ButtonHighlight, cell->palette());
    EXPECT_TRUE(Same(shot.pixel(0, 0), shadow));
    EXPECT_TRUE(Same(shot.pixel(shot.width() - 1, shot.height() - 1), light));
    QTest::mousePress(cell, Qt::LeftButton);
    EXPECT_EQ(cell->grab().toImage(), shot);
    QTest::mouseRelease(cell, Qt::LeftButton);
    EXPECT_FALSE(cell->hasFocus());
    EXPECT_EQ(cell->grab().toImage(), shot);

    // Transport buttons: the plain face at their edges at rest, enabled or not; a raised edge
    // under the pointer, a sunken one pressed, and the plain face beside the picture, no dither.
    XFlatButton* pause = w.cmdPause;
    ASSERT_TRUE(pause->Enabled());
    ASSERT_FALSE(w.cmdPlay->Enabled());
    const QColor face = ResolveOleColor(SystemColor::ButtonFace, pause->palette());
    for (XFlatButton* button : {pause, w.cmdPlay}) {
        const QImage rest = button->grab().toImage();
        EXPECT_TRUE(Same(rest.pixel(0, 0), face));
        EXPECT_TRUE(Same(rest.pixel(rest.width() - 1, rest.height() - 1), face));
    }
    // The top-left corner's lightness above the face's and the bottom-right one's below it.
    const auto raised = [&](const QImage& image) {
        const int topLeft = QColor(image.pixel(0, 0)).lightness() - face.lightness();
        const int bottomRight = QColor(image.pixel(image.width() - 1, image.height() - 1))
                                    .lightness() - face.lightness();
        return topLeft > 0 && bottomRight < 0 ? 1 : topLeft < 0 && bottomRight > 0 ? -1 : 0;
    };
    pause->ShowHovering(true);
    EXPECT_TRUE(WaitUntil([&] { return raised(pause->grab().toImage()) == 1; }));
    pause->ShowPressed(true);
    QImage pressed;
    EXPECT_TRUE(WaitUntil([&] { return raised(pressed = pause->grab().toImage()) == -1; }));
    EXPECT_TRUE(Same(pressed.pixel(2, pressed.height() / 2), face));
    EXPECT_TRUE(Same(pressed.pixel(3, pressed.height() / 2), face));
    pause->UnlockState();
}
} // namespace
