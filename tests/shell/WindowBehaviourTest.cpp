// Full screen, its watchdog, always on top and the volume slider as a window manager and a real
// mouse and keyboard meet them, on an X server of the test's own with openbox.
#include "ShellFixture.h"

#include "RealClick.h"
#include "TestVideo.h"
#include "controls/nSlider.h"
#include "shell/frmFullScreen.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QTest>
#include <QWindow>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
// Xlib names a type "Status", as the player names its state.
#undef Status

#include <atomic>
#include <chrono>
#include <iostream>
#include <thread>

using modMain::Player;

namespace {

// The X window of a widget as the server knows it now: Qt re-creates a window whose
// always-on-top flag changed while it was hidden, and QWidget::winId() keeps the old id.
unsigned long xid(QWidget* widget)
{
    return widget && widget->windowHandle() ? widget->windowHandle()->winId() : 0;
}

bool waitUntil(const std::function<bool()>& done, int milliseconds = 5000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < milliseconds)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

// A connection of the test's own, so that what it reads is what the X server holds.
class XProbe {
public:
    XProbe() : display_(XOpenDisplay(nullptr)) {}
    ~XProbe()
    {
        if (display_)
            XCloseDisplay(display_);
    }
    explicit operator bool() const { return display_ != nullptr; }

    std::vector<unsigned long> Property(unsigned long window, const char* name, Atom type)
    {
        std::vector<unsigned long> items;
        Atom actualType = 0;
        int format = 0;
        unsigned long count = 0, remaining = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display_, window, XInternAtom(display_, name, False), 0, 1024,
                               False, type, &actualType, &format, &count, &remaining, &data)
                == Success
            && data && format == 32) {
            auto* values = reinterpret_cast<unsigned long*>(data);
            items.assign(values, values + count);
        }
        if (data)
            XFree(data);
        return items;
    }

    bool HasState(quintptr window, const char* state)
    {
        const Atom wanted = XInternAtom(display_, state, False);
        for (unsigned long atom : Property(window, "_NET_WM_STATE", XA_ATOM)) {
            if (atom == wanted)
                return true;
        }
        return false;
    }

    unsigned long ActiveWindow()
    {
        const auto items = Property(DefaultRootWindow(display_), "_NET_ACTIVE_WINDOW", XA_WINDOW);
        return items.empty() ? 0 : items[0];
    }

    // A managed client window whose WM_CLASS instance name is the given one.
    unsigned long ClientNamed(const char* instance)
    {
        for (unsigned long window :
             Property(DefaultRootWindow(display_), "_NET_CLIENT_LIST", XA_WINDOW)) {
            XClassHint hint{};
            if (!XGetClassHint(display_, window, &hint))
                continue;
            const bool match = hint.res_name && qstrcmp(hint.res_name, instance) == 0;
            XFree(hint.res_name);
            XFree(hint.res_class);
            if (match)
                return window;
        }
        return 0;
    }

    // As a pager or task bar asks for it (source 2), which window managers always honour.
    void Activate(unsigned long window)
    {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = XInternAtom(display_, "_NET_ACTIVE_WINDOW", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = 2;
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(display_, DefaultRootWindow(display_), False,
                   SubstructureRedirectMask | SubstructureNotifyMask, &event);
        XFlush(display_);
    }

    // Real key strokes through XTest, modifiers held around the key.
    void Keys(std::initializer_list<KeySym> modifiers, KeySym key)
    {
        for (KeySym modifier : modifiers)
            XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, modifier), True, CurrentTime);
        XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, key), True, CurrentTime);
        XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, key), False, CurrentTime);
        for (KeySym modifier : modifiers)
            XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, modifier), False, CurrentTime);
        XFlush(display_);
    }

    // Where a point of a top-level window is on the screen, as the server has placed it (Qt may
    // not have heard of the window manager's placement yet).
    QPoint OnScreen(unsigned long window, QPoint local)
    {
        int x = 0, y = 0;
        Window child = 0;
        XTranslateCoordinates(display_, window, DefaultRootWindow(display_), local.x(), local.y(),
                              &x, &y, &child);
        return {x, y};
    }

    bool Managed(unsigned long window)
    {
        for (unsigned long client :
             Property(DefaultRootWindow(display_), "_NET_CLIENT_LIST", XA_WINDOW)) {
            if (client == window)
                return true;
        }
        return false;
    }

    void Drag(QPoint from, QPoint to)
    {
        XTestFakeMotionEvent(display_, -1, from.x(), from.y(), CurrentTime);
        XTestFakeButtonEvent(display_, 1, True, CurrentTime);
        XFlush(display_);
        const int steps = 10;
        for (int i = 1; i <= steps; ++i) {
            const QPoint at = from + (to - from) * i / steps;
            XTestFakeMotionEvent(display_, -1, at.x(), at.y(), 20);
            XFlush(display_);
            QApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        XSync(display_, False);
        XTestFakeButtonEvent(display_, 1, False, CurrentTime);
        XSync(display_, False);
    }

private:
    Display* display_;
};

int ignoreXErrors(Display*, XErrorEvent*)
{
    return 0;
}

// Milliseconds on the clock when the X server unmapped the window, -1 if it did not within 3 s;
// watched from a thread and connection of its own, since the user-interface thread is busy
// moving the video back meanwhile. The clock starts just before the action.
qint64 WatchUnmapping(unsigned long window, QElapsedTimer& clock,
                      const std::function<void()>& action)
{
    std::atomic<qint64> unmappedAt{-1};
    std::atomic<bool> started{false};
    auto* previous = XSetErrorHandler(ignoreXErrors);
    std::thread watcher([&] {
        Display* display = XOpenDisplay(nullptr);
        while (!started)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        while (display && clock.elapsed() < 3000) {
            XWindowAttributes attributes;
            if (!XGetWindowAttributes(display, window, &attributes)
                || attributes.map_state != IsViewable) {
                unmappedAt = clock.elapsed();
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        if (display)
            XCloseDisplay(display);
    });
    clock.start();
    started = true;
    action();
    watcher.join();
    XSetErrorHandler(previous);
    return unmappedAt;
}

class WindowBehaviourTest : public ShellTest {
protected:
    void SetUp() override
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            GTEST_SKIP() << "needs an X display";
        ShellTest::SetUp();
        ASSERT_TRUE(probe);
    }
    void TearDown() override
    {
        ShellTest::TearDown();
        if (other.state() != QProcess::NotRunning) {
            other.kill();
            other.waitForFinished(2000);
        }
    }

    frmMain& StartPlaying()
    {
        TestVideoFormat format;
        format.frames = 500;
        const QString video = dir.filePath(QStringLiteral("clip.avi"));
        EXPECT_TRUE(WriteTestAvi(video, format));
        frmMain& w = Start(video);
        EXPECT_EQ(Player().Status(), 4);
        return w;
    }

    bool WaitManaged(QWidget* window)
    {
        return waitUntil([&] { return window && probe.Managed(xid(window)); });
    }

    bool WaitActive(QWidget* window)
    {
        return waitUntil([&] { return window && probe.ActiveWindow() == xid(window); });
    }

    // Another program with a window of its own, shown and managed.
    unsigned long StartOtherProgram()
    {
        other.start(QStringLiteral("xmessage"),
                    {QStringLiteral("-name"), QStringLiteral("veltrix-other"),
                     QStringLiteral("another program")});
        if (!other.waitForStarted(3000))
            return 0;
        unsigned long found = 0;
        waitUntil([&] { return (found = probe.ClientNamed("veltrix-other")) != 0; });
        return found;
    }

    XProbe probe;
    QProcess other;
};

} // namespace

TEST_F(WindowBehaviourTest, WatchdogLeavesFullScreenSoonAfterAnotherProgramIsActivated)
{
    const unsigned long xmessage = StartOtherProgram();
    ASSERT_NE(xmessage, 0u) << "xmessage (x11-utils) is needed";
    frmMain& w = StartPlaying();
    w.activateWindow();
    ASSERT_TRUE(WaitActive(&w));

    probe.Keys({XK_Alt_L}, XK_Return);
    ASSERT_TRUE(waitUntil([] { return Player().FullScreen(); }));
    QWidget* full = w.FullScreenWindow();
    ASSERT_TRUE(full);
    ASSERT_TRUE(WaitActive(full)) << "the watchdog gives the full-screen window the keyboard";
    EXPECT_TRUE(probe.HasState(xid(full), "_NET_WM_STATE_SKIP_TASKBAR"));
    EXPECT_TRUE(waitUntil([&] { return probe.HasState(xid(full), "_NET_WM_STATE_FULLSCREEN"); }));
    EXPECT_EQ(full->geometry(), QGuiApplication::primaryScreen()->geometry());
    EXPECT_EQ(full->windowTitle(), QStringLiteral("Tavrell Veltrix"));

    // Always on top reaches the full-screen window while it is loaded.
    probe.Keys({XK_Control_L}, XK_t);
    ASSERT_TRUE(waitUntil([&] { return w.AOT(); }));
    EXPECT_TRUE(waitUntil([&] { return probe.HasState(xid(full), "_NET_WM_STATE_ABOVE"); }));

    // Let the watchdog see this program active for a few ticks, then turn to the other one.
    QTest::qWait(200);
    ASSERT_TRUE(Player().FullScreen());
    QElapsedTimer clock;
    const qint64 unmapped = WatchUnmapping(xid(full), clock, [&] {
        probe.Activate(xmessage);
        EXPECT_TRUE(waitUntil([] { return !Player().FullScreen(); }, 2000));
    });
    std::cout << "full screen window gone " << unmapped << " ms after another program was "
              << "activated; the player back in its window after " << clock.elapsed() << " ms\n";
    EXPECT_GE(unmapped, 0);
    EXPECT_LT(unmapped, 150);
    EXPECT_EQ(probe.ActiveWindow(), xmessage) << "the watchdog must not take the focus back";
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(w.mnuVideoFull->isChecked());
    // Leaving full screen applies always on top to the main window again.
    EXPECT_TRUE(waitUntil([&] { return probe.HasState(xid(&w), "_NET_WM_STATE_ABOVE"); }));
}

TEST_F(WindowBehaviourTest, EscapeLeavesFullScreenEvenAfterAClickOnTheVideo)
{
    frmMain& w = StartPlaying();
    w.activateWindow();
    ASSERT_TRUE(WaitActive(&w));
    w.mnuVideoFull->trigger();
    ASSERT_TRUE(Player().FullScreen());
    QWidget* full = w.FullScreenWindow();
    ASSERT_TRUE(WaitActive(full));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    ASSERT_TRUE(SendRealClick(screen.center().x(), screen.center().y(), 1));
    QTest::qWait(150);
    probe.Keys({}, XK_Escape);
    EXPECT_TRUE(waitUntil([] { return !Player().FullScreen(); }, 2000));
    EXPECT_TRUE(w.isVisible());
}

TEST_F(WindowBehaviourTest, AlwaysOnTopReachesADialogOpenedLaterAndNotOnceTurnedOff)
{
    frmMain& w = Start();
    w.activateWindow();
    ASSERT_TRUE(WaitActive(&w));
    w.mnuVideoAOT->trigger();
    ASSERT_TRUE(w.AOT());
    ASSERT_TRUE(waitUntil([&] { return probe.HasState(xid(&w), "_NET_WM_STATE_ABOVE"); }));

    auto* first = new QDialog(&w);
    first->setWindowTitle(QStringLiteral("first"));
    modMain::ShowDialog(first, false);
    ASSERT_TRUE(WaitManaged(first));
    EXPECT_TRUE(waitUntil([&] { return probe.HasState(xid(first), "_NET_WM_STATE_ABOVE"); }));
    first->hide();

    w.mnuVideoAOT->trigger();
    ASSERT_FALSE(w.AOT());
    EXPECT_TRUE(waitUntil([&] { return !probe.HasState(xid(&w), "_NET_WM_STATE_ABOVE"); }));
    auto* second = new QDialog(&w);
    second->setWindowTitle(QStringLiteral("second"));
    modMain::ShowDialog(second, false);
    ASSERT_TRUE(WaitManaged(second));
    QTest::qWait(200);
    EXPECT_FALSE(probe.HasState(xid(second), "_NET_WM_STATE_ABOVE"));
    second->hide();
    // The first dialog again: turning the switch off reached it while it was hidden.
    modMain::ShowDialog(first, false);
    ASSERT_TRUE(WaitManaged(first));
    QTest::qWait(200);
    EXPECT_FALSE(probe.HasState(xid(first), "_NET_WM_STATE_ABOVE"));
}

TEST_F(WindowBehaviourTest, VolumeDraggedWithTheMouseIsInTheRegistryFileAtOnce)
{
    frmMain& w = Start();
    w.activateWindow();
    ASSERT_TRUE(WaitActive(&w));
    nSlider* slider = w.sldVolume;
    ASSERT_DOUBLE_EQ(slider->Value(), 0.5);
    const QPoint thumb = probe.OnScreen(xid(&w), slider->mapTo(&w, QPoint(slider->ThumbStart()
                                          + slider->BlockSize() / 2, slider->height() / 2)));
    probe.Drag(thumb, thumb - QPoint(30, 0));
    ASSERT_TRUE(waitUntil([&] { return slider->Value() < 0.5; }));
    QTest::qWait(100);
    const long volume = Player().Volume();
    EXPECT_LT(volume, 50);
    EXPECT_EQ(volume, long(std::lround(slider->Value() * 100)));

    // Read the file as another program would, while the player still runs.
    Registry registry(registryPath);
    winreg::HKEY key = 0;
    ASSERT_EQ(registry.OpenKeyEx(winreg::HKEY_LOCAL_MACHINE, modMain::kRegistrySubKey,
                                 winreg::KEY_READ, &key),
              winreg::ERROR_SUCCESS);
    bool found = false;
    QString name;
    uint32_t type = 0;
    QByteArray data;
    for (uint32_t i = 0; registry.EnumValue(key, i, &name, &type, &data) == winreg::ERROR_SUCCESS;
         ++i)
        found = found || name.contains(QStringLiteral("volume"), Qt::CaseInsensitive);
    registry.CloseKey(key);
    EXPECT_TRUE(found);
    Settings reader;
    reader.SetRegistry(std::make_shared<Registry>(registryPath));
    reader.REGKEY = winreg::HKEY_LOCAL_MACHINE;
    reader.RegSubKey = modMain::kRegistrySubKey;
    reader.LoadReg();
    EXPECT_EQ(reader.GetSetting(QStringLiteral("Volume")).toLongLong(), volume);
}


