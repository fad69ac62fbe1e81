#include "window/XProbe.h"

#include "WaitUntil.h"

#include <QApplication>
#include <QImage>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

unsigned long xid(QWidget* widget)
{
    return widget && widget->windowHandle() ? widget->windowHandle()->winId() : 0;
}

XProbe::XProbe() : display_(XOpenDisplay(nullptr)) {}

XProbe::~XProbe()
{
    if (display_)
        XCloseDisplay(display_);
}

unsigned long XProbe::InternAtom(const char* name) { return XInternAtom(display_, name, False); }

std::vector<unsigned long> XProbe::Property(unsigned long window, const char* name,
                                            unsigned long type)
{
    std::vector<unsigned long> items;
    ::Atom actualType = 0;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display_, window, InternAtom(name), 0, 1024, False, type, &actualType,
                           &format, &count, &remaining, &data)
            == Success
        && data && format == 32) {
        auto* values = reinterpret_cast<unsigned long*>(data);
        items.assign(values, values + count);
    }
    if (data)
        XFree(data);
    return items;
}

bool XProbe::HasState(unsigned long window, const char* state)
{
    return std::ranges::count(Property(window, "_NET_WM_STATE", XA_ATOM), InternAtom(state)) > 0;
}

unsigned long XProbe::ClientNamed(const char* instance)
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

bool XProbe::Managed(unsigned long window)
{
    return std::ranges::count(
               Property(DefaultRootWindow(display_), "_NET_CLIENT_LIST", XA_WINDOW), window)
        > 0;
}

::testing::AssertionResult XProbe::WaitActive(QWidget* widget)
{
    return WaitUntil([&] {
        const auto active =
            Property(DefaultRootWindow(display_), "_NET_ACTIVE_WINDOW", XA_WINDOW);
        return widget && !active.empty() && active[0] == xid(widget);
    });
}

::testing::AssertionResult XProbe::WaitState(QWidget* widget, const char* state, bool set,
                                             int milliseconds)
{
    return WaitUntil([&] { return HasState(xid(widget), state) == set; }, milliseconds);
}

bool XProbe::WindowManagerRunning()
{
    const auto check =
        Property(DefaultRootWindow(display_), "_NET_SUPPORTING_WM_CHECK", XA_WINDOW);
    if (check.empty())
        return false;
    auto* previous = XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    const auto self = Property(check[0], "_NET_SUPPORTING_WM_CHECK", XA_WINDOW);
    XSetErrorHandler(previous);
    return !self.empty() && self[0] == check[0];
}

void XProbe::Activate(unsigned long window)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = InternAtom("_NET_ACTIVE_WINDOW");
    event.xclient.format = 32;
    event.xclient.data.l[0] = 2;
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display_, DefaultRootWindow(display_), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XFlush(display_);
}

void XProbe::Keys(std::initializer_list<unsigned long> modifiers, unsigned long key)
{
    for (unsigned long modifier : modifiers)
        XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, modifier), True, CurrentTime);
    XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, key), True, CurrentTime);
    XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, key), False, CurrentTime);
    for (unsigned long modifier : modifiers)
        XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, modifier), False, CurrentTime);
    XFlush(display_);
}

void XProbe::Click(QPoint onScreen, unsigned button)
{
    PointerTo(onScreen);
    Button(true, button);
    Button(false, button);
}

void XProbe::Drag(QPoint from, QPoint to)
{
    PointerTo(from);
    Button(true);
    const int steps = 10;
    for (int i = 1; i <= steps; ++i) {
        const QPoint at = from + (to - from) * i / steps;
        XTestFakeMotionEvent(display_, -1, at.x(), at.y(), 20);
        XFlush(display_);
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    XSync(display_, False);
    Button(false);
}

QPoint XProbe::OnScreen(unsigned long window, QPoint local)
{
    int x = 0, y = 0;
    Window child = 0;
    XTranslateCoordinates(display_, window, DefaultRootWindow(display_), local.x(), local.y(),
                          &x, &y, &child);
    return {x, y};
}

QImage XProbe::ScreenShotOf(QWidget* widget)
{
    QWidget* top = widget->window();
    const QPoint at = OnScreen(xid(top), widget->mapTo(top, QPoint(0, 0)));
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage().copy(
        QRect(at, widget->size()));
}

qint64 XProbe::WatchUnmapping(unsigned long window, QElapsedTimer& clock,
                              const std::function<void()>& action)
{
    std::atomic<qint64> unmappedAt{-1};
    std::atomic<bool> started{false};
    auto* previous = XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    std::thread watcher([&] {
        Display* display = XOpenDisplay(nullptr);
        while (!started)
            std::this_thread::yield();
        while (display && clock.elapsed() < 3000) {
            XWindowAttributes attributes;
            if (!XGetWindowAttributes(display, window, &attributes)
                || attributes.map_state != IsViewable) {
                unmappedAt = clock.elapsed();
                break;
            }
            // Polling the server: a millisecond between questions is the resolution wanted.
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

bool XProbe::Viewable(unsigned long window)
{
    XWindowAttributes attributes;
    return XGetWindowAttributes(display_, window, &attributes)
        && attributes.map_state == IsViewable;
}

void XProbe::PointerTo(QPoint at)
{
    XTestFakeMotionEvent(display_, -1, at.x(), at.y(), CurrentTime);
    XSync(display_, False);
}

void XProbe::Button(bool down, unsigned button)
{
    XTestFakeButtonEvent(display_, button, down ? True : False, CurrentTime);
    XSync(display_, False);
}
