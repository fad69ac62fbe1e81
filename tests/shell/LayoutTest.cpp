#include "ShellFixture.h"

#include "controls/XFlatButton.h"

#include <QDir>

#include <sys/resource.h>

using modMain::Player;

namespace {
// Resizes the window so that its client area (below the menu bar) is w x h.
void resizeClient(frmMain& window, int w, int h)
{
    QWidget* client = window.centralWidget();
    window.resize(window.width() + w - client->width(), window.height() + h - client->height());
    ASSERT_TRUE(WaitUntil([&] { return client->size() == QSize(w, h); }));
}

} // namespace

TEST_F(ShellTest, TooSmallAWindowSkipsTheSizesThatComeOutNegative)
{
    frmMain& w = Start();
    resizeClient(w, 700, 500);
    const int frameHeight = w.picFrame->height();
    const int firstCellWidth = w.cmdStatus[0]->width();
    // The overlay is told its surface is stale at every resize.
    const int releases = overlay->releases;
    resizeClient(w, 160, 40);
    EXPECT_GT(overlay->releases, releases);
    // Positions may go negative; the widths and heights that would are left as they were.
    EXPECT_LT(w.cmdStatus[1]->x(), 0);
    EXPECT_EQ(w.cmdStatus[0]->width(), firstCellWidth);
    EXPECT_EQ(w.picFrame->height(), frameHeight);
    EXPECT_EQ(w.picFrame->width(), 160);
    resizeClient(w, 640, 480);
    EXPECT_EQ(w.cmdStatus[0]->width(), firstCellWidth - 60);
    EXPECT_EQ(w.picFrame->height(), frameHeight - 20);
}

// Zoom gives the video area the preset times the video size; switching engines carries the
// playback and is saved at once.
TEST_F(ShellTest, ZoomPresetsAndEngineSwitches)
{
    frmMain& w = Start(Video(QStringLiteral("clip.avi"), 100, {320, 240}));
    ASSERT_EQ(Player().Status(), 4);
    w.mnuVideoZoom200->trigger();
    EXPECT_TRUE(WaitUntil([&] { return w.picFrame->size() == QSize(640, 480); }));
    // From full screen a preset first leaves it, then sizes the window.
    w.mnuVideoFull->trigger();
    ASSERT_TRUE(Player().FullScreen());
    w.mnuVideoZoom50->trigger();
    EXPECT_FALSE(Player().FullScreen());
    EXPECT_TRUE(WaitUntil([&] { return w.picFrame->size() == QSize(160, 120); }));

    ASSERT_EQ(Player().MediaPlayer(), 2);
    Player().Pause();
    ASSERT_TRUE(WaitUntil([] { return Player().Status() == 3; }));
    Player().SetPosition(2.0);
    ASSERT_TRUE(WaitUntil([] { return std::abs(Player().Position() - 2.0) < 0.1; }));
    w.mnuVideoMP1->trigger();
    EXPECT_EQ(Player().MediaPlayer(), 1);
    EXPECT_EQ(Player().Status(), 3);
    EXPECT_NEAR(Player().Position(), 2.0, 0.1);
    // The engine in use chosen again is loaded afresh and carries the playback as well.
    w.mnuVideoMP1->trigger();
    EXPECT_EQ(Player().MediaPlayer(), 1);
    EXPECT_EQ(Player().Status(), 3);
    EXPECT_NEAR(Player().Position(), 2.0, 0.1);
    // Saved at once: another store on the same registry sees it before any shutdown.
    EXPECT_EQ(InRegistry(QStringLiteral("MPTYPE")).toInt(), 1);
}

TEST_F(ShellTest, PriorityMenuShowsTheClassInForceAndIsStoredAtShutdown)
{
    frmMain& w = Start();
    auto inForce = [] {
        errno = 0;
        const int nice = getpriority(PRIO_PROCESS, 0);
        return errno == 0 && nice < 0;
    };
    // Start-up applied the default (on); where raising is refused the menu says so.
    EXPECT_EQ(w.mnuVideoPriority->isChecked(), inForce());
    const bool couldRaise = inForce();
    w.mnuVideoPriority->trigger();   // off
    EXPECT_FALSE(w.mnuVideoPriority->isChecked());
    EXPECT_FALSE(inForce());
    // Unlike always on top and the engine, the choice waits for the shutdown write-back.
    EXPECT_FALSE(InRegistry(QStringLiteral("HIGHPRIORITY")).isValid());
    w.mnuVideoPriority->trigger();   // on again
    EXPECT_EQ(w.mnuVideoPriority->isChecked(), couldRaise);
    if (couldRaise) {
        // The engine's threads, started before, run at the raised priority as well.
        int raisedThreads = 0;
        int threads = 0;
        for (const QString& task : QDir(QStringLiteral("/proc/self/task"))
                                       .entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            errno = 0;
            const int nice = getpriority(PRIO_PROCESS, id_t(task.toInt()));
            if (errno == 0) {
                ++threads;
                raisedThreads += nice == -5 ? 1 : 0;
            }
        }
        EXPECT_GT(threads, 1);
        EXPECT_EQ(raisedThreads, threads);
    }
    w.mnuVideoPriority->trigger();   // off, and so it stays for the other tests
    EXPECT_EQ(StoredAfterShutdown(QStringLiteral("HIGHPRIORITY")), QVariant(false));
}
