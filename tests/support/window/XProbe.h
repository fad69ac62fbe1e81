#pragma once

// What the X server itself says about windows, on a connection of the test's own, and real
// input through XTest: the real-window tests check the window manager's view, not Qt's, and
// click where a user would, into whatever window the server finds under the pointer.
#include <QElapsedTimer>
#include <QPoint>

#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <functional>
#include <initializer_list>
#include <vector>

struct _XDisplay;
class QImage;
class QWidget;

// The X window of a widget as the server knows it now, whatever Qt's widget remembers.
unsigned long xid(QWidget* widget);

class XProbe {
public:
    XProbe();
    ~XProbe();
    XProbe(const XProbe&) = delete;
    XProbe& operator=(const XProbe&) = delete;
    explicit operator bool() const { return display_ != nullptr; }

    // A 32-bit property of a window as a list (atoms, windows, cardinals); empty when unset.
    std::vector<unsigned long> Property(unsigned long window, const char* name,
                                        unsigned long type);
    bool HasState(unsigned long window, const char* state);
    // A managed client window whose WM_CLASS instance name is the given one.
    unsigned long ClientNamed(const char* instance);
    bool Managed(unsigned long window);
    bool Viewable(unsigned long window);
    // Until the window manager gives the widget's window the keyboard.
    ::testing::AssertionResult WaitActive(QWidget* widget);
    // Until the widget's window has the _NET_WM_STATE_... given, or with `set` false lacks it.
    ::testing::AssertionResult WaitState(QWidget* widget, const char* state, bool set = true,
                                         int milliseconds = 5000);
    // True once a window manager has announced itself on the root window, as EWMH asks: its
    // check window names itself, so a property left over by a dead manager does not count.
    bool WindowManagerRunning();

    // As a pager or task bar asks for it (source 2), which window managers always honour.
    void Activate(unsigned long window);
    // Real key strokes, modifiers held around the key (keysyms: XK_Return, XK_Alt_L, ...).
    void Keys(std::initializer_list<unsigned long> modifiers, unsigned long key);
    void Click(QPoint onScreen, unsigned button);
    void Drag(QPoint from, QPoint to);
    // The pointer moved to a screen point, or a button (the first) pressed or released where it is.
    void PointerTo(QPoint at);
    void Button(bool down, unsigned button = 1);

    // Where a point of a top-level window is on the screen, as the server has placed it (Qt may
    // not have heard of the window manager's placement yet).
    QPoint OnScreen(unsigned long window, QPoint local);
    // What the screen shows where the widget is, as the X server has placed its window.
    QImage ScreenShotOf(QWidget* widget);

    // Milliseconds on the clock when the X server unmapped the window, -1 if it did not within
    // 3 s; watched from a thread and connection of its own, since the user-interface thread is
    // busy running the action meanwhile. The clock starts just before the action.
    static qint64 WatchUnmapping(unsigned long window, QElapsedTimer& clock,
                                 const std::function<void()>& action);

private:
    unsigned long InternAtom(const char* name);

    _XDisplay* display_;
};
