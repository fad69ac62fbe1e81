// Where the main window, the picture and the subtitles end up as a viewer moves between always
// on top, full screen and the zoom presets, on a 1600 x 1000 screen with openbox.

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

// Always on top on and off, then full screen and back by the keys: the window keeps its X window
// and the current subtitle is drawn over the picture again.
TEST_F(WindowBehaviourTest, SubtitlesShowAgainAfterTopmostTogglesAndAFullScreenRoundTrip)
{
    SubtitleOverlay* overlay = StartPlayingActiveWithACaption();
    ASSERT_TRUE(overlay);
    frmMain& w = *window;
    const unsigned long before = xid(&w);

    probe.Keys({XK_Control_L}, XK_t);
    ASSERT_TRUE(WaitUntil([&] { return w.AOT(); }));
    probe.Keys({XK_Control_L}, XK_t);
    ASSERT_TRUE(WaitUntil([&] { return !w.AOT(); }));
    probe.Keys({XK_Alt_L}, XK_Return);
    ASSERT_TRUE(WaitUntil([] { return Player().FullScreen(); }));
    ASSERT_TRUE(probe.WaitActive(w.FullScreenWindow()));
    probe.Keys({}, XK_Escape);
    ASSERT_TRUE(WaitUntil([&] { return !Player().FullScreen() && probe.Managed(xid(&w)); }));
    EXPECT_EQ(xid(&w), before);

    // Shown again, over the picture in the main window, and drawn: dark outlines on the orange.
    const auto captionOverPicture = [&] {
        QWidget* form = overlay->Window();
        const QRect picture(probe.OnScreen(xid(&w), w.picFrame->mapTo(&w, QPoint(0, 0))),
                            w.picFrame->size());
        return form && form->isVisible() && picture.contains(form->geometry().center());
    };
    ASSERT_TRUE(WaitUntil(captionOverPicture, 2000));
    const QRect caption = overlay->LastLayout().geometry;
    ASSERT_TRUE(WaitUntil([&] { return PixelsOnScreen(caption, IsDark) > 100; }));
}

TEST_F(WindowBehaviourTest, LeavingFullScreenPutsTheWindowBackExactlyWhereItWas)
{
    frmMain& w = StartPlayingActive();
    const QPoint origin = probe.OnScreen(xid(&w), QPoint(0, 0));
    for (int trip = 1; trip <= 2; ++trip) {
        w.mnuVideoFull->trigger();
        ASSERT_TRUE(probe.WaitActive(w.FullScreenWindow()));
        w.mnuVideoFull->trigger();
        const auto back = [&] {
            return probe.Viewable(xid(&w)) && probe.OnScreen(xid(&w), QPoint(0, 0)) == origin;
        };
        ASSERT_TRUE(WaitUntil(back, 3000)) << "round trip " << trip;
        // ... and it stays there.
        EXPECT_FALSE(WaitUntil([&] { return !back(); }, 500)) << "round trip " << trip;
    }
}

// 200 % of a 1280 x 720 film would be 2560 pixels wide: the largest zoom that fits is used, in
// proportion, and the whole frame lies on the screen. Where the zoom fits it is exact.
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

    w.mnuVideoZoom50->trigger();
    ASSERT_TRUE(WaitUntil([&] { return Player().Width() == 640 && Player().Height() == 360; }));
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

// A message while the main window is hidden behind full screen opens in the middle of the
// full-screen window, not where the hidden window stood.
TEST_F(WindowBehaviourTest, AMessageInFullScreenOpensCentredOnTheFullScreenWindow)
{
    frmMain& w = StartPlaying(500);
    w.SetMessageSink({});
    w.move(0, 0);
    ASSERT_TRUE(Activated(w));
    w.mnuVideoFull->trigger();
    ASSERT_TRUE(probe.WaitActive(w.FullScreenWindow()));
    const QString broken = Write(QStringLiteral("broken.avi"), "not a video");

    QPoint centre;
    WhenModal<QMessageBox>([&](QMessageBox& box) {
        if (WaitUntil([&] { return probe.Managed(xid(&box)) && probe.Viewable(xid(&box)); }))
            centre = probe.OnScreen(xid(&box), box.rect().center());
        box.close();
    });
    w.OpenFile(broken);
    const QPoint middle = QGuiApplication::primaryScreen()->geometry().center();
    EXPECT_LE((centre - middle).manhattanLength(), 80)
        << "message centred at " << centre.x() << "," << centre.y();
}
