// Where the window and the picture end up with the zoom presets and in full screen, on a
// 1600 x 1000 screen with openbox.

// It brings in Xlib, whose macros would spoil Qt headers included after it.
#include "WindowBehaviourFixture.h"

using modMain::Player;

// Xlib's XA_CARDINAL, a predefined atom: its header's macros would spoil the code below.
constexpr unsigned long kCardinalAtom = 6;

namespace {

// The bounding box of the picture's white pixels: the test video's square.
QRect WhiteBox(const QImage& shot)
{
    QRect box;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            if (IsWhite(shot.pixel(x, y)))
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

bool Square(const QRect& box)
{
    return box.width() > 20 && qAbs(box.width() - box.height()) <= 2;
}

} // namespace

// 200 % of a 1280 x 720 film would be 2560 pixels wide: the largest zoom that fits is used, in
// proportion, and the whole frame lies on the screen.
TEST_F(WindowBehaviourTest, ZoomKeepsTheWholeWindowOnTheScreen)
{
    frmMain& w = Start(Video(QStringLiteral("wide.avi"), 5, {1280, 720}));
    ASSERT_GT(Player().Status(), 1);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const auto frameOnScreen = [&] {
        const auto extents = probe.Property(xid(&w), "_NET_FRAME_EXTENTS", kCardinalAtom);
        if (extents.size() != 4)
            return QRect();
        const QPoint client = probe.OnScreen(xid(&w), QPoint(0, 0));
        return QRect(client - QPoint(int(extents[0]), int(extents[2])),
                     w.size() + QSize(int(extents[0] + extents[1]), int(extents[2] + extents[3])));
    };
    w.mnuVideoZoom200->trigger();
    ASSERT_TRUE(WaitUntil([&] {
        return Player().Width() > 1280 && screen.contains(frameOnScreen());
    })) << "width " << Player().Width();
    EXPECT_FALSE(WaitUntil([&] { return !screen.contains(frameOnScreen()); }, 500));
    EXPECT_LE(qAbs(Player().Width() * 720 - Player().Height() * 1280), 1280);
}

// The test video's square stays square however the picture box is shaped, with either engine.
TEST_F(WindowBehaviourTest, SquareStaysSquareInATallAWideWindowAndFullScreen)
{
    frmMain& w = Start(Video(QStringLiteral("square.avi"), 100, {320, 180}));
    for (long engine : {2L, 1L}) {
        if (Player().MediaPlayer() != engine)
            (engine == 1 ? w.mnuVideoMP1 : w.mnuVideoMP2)->trigger();
        ASSERT_TRUE(WaitUntil([&] { return Player().MediaPlayer() == engine
                                           && Player().Status() >= 3; }, 15000));
        Player().Pause();   // a still picture: the square no longer moves
        for (const QSize& client : {QSize(360, 700), QSize(1200, 360)}) {
            w.resize(client);
            QRect box;
            EXPECT_TRUE(WaitUntil([&] { return Square(box = WhiteBox(probe.ScreenShotOf(w.picFrame)))
                                               && w.size() == client; }))
                << "engine " << engine << ", square " << box.width() << "x" << box.height();
        }
        w.mnuVideoFull->trigger();
        QWidget* full = w.FullScreenWindow();
        ASSERT_TRUE(full);
        QRect box;
        EXPECT_TRUE(WaitUntil([&] { return Square(box = WhiteBox(probe.ScreenShotOf(full))); }))
            << "engine " << engine << ", full screen " << box.width() << "x" << box.height();
        w.mnuVideoFull->trigger();
        ASSERT_TRUE(WaitUntil([] { return !Player().FullScreen(); }));
    }
}
