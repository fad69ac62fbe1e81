#pragma once

// What the X server itself says about windows, on a connection of the test's own, and real
// input through XTest: the window tests check the window manager's view, not Qt's.
#include <QApplication>
#include <QElapsedTimer>
#include <QPoint>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>
#include <vector>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
// Xlib names a type "Status", as the player names its state.
#undef Status

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

    bool Viewable(unsigned long window)
    {
        XWindowAttributes attributes;
        return XGetWindowAttributes(display_, window, &attributes)
            && attributes.map_state == IsViewable;
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

    // The pointer moved to a screen point, or a button pressed or released where it is.
    void PointerTo(QPoint at)
    {
        XTestFakeMotionEvent(display_, -1, at.x(), at.y(), CurrentTime);
        XSync(display_, False);
    }
    void Button(bool down)
    {
        XTestFakeButtonEvent(display_, 1, down ? True : False, CurrentTime);
        XSync(display_, False);
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

inline int ignoreXErrors(Display*, XErrorEvent*)
{
    return 0;
}

// Milliseconds on the clock when the X server unmapped the window, -1 if it did not within 3 s;
// watched from a thread and connection of its own, since the user-interface thread is busy
// moving the video back meanwhile. The clock starts just before the action.
inline qint64 WatchUnmapping(unsigned long window, QElapsedTimer& clock,
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
