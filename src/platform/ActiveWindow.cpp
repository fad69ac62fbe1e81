#include "ActiveWindow.h"
#include "X11Display.h"

#include <QGuiApplication>
#include <QWindow>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <unistd.h>

namespace {

// One 32-bit item of a window property, or 0 when the window or the property is missing.
unsigned long propertyValue(Display* display, Window window, const char* name, Atom type)
{
    const Atom property = XInternAtom(display, name, False);
    Atom actualType = 0;
    int actualFormat = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    unsigned long value = 0;
    // Qt keeps Xlib's errors quiet, so a window that went away gives a failed read, not an exit.
    if (XGetWindowProperty(display, window, property, 0, 1, False, type, &actualType,
                           &actualFormat, &count, &remaining, &data) == Success
        && data && actualType == type && actualFormat == 32 && count == 1)
        value = *reinterpret_cast<unsigned long*>(data);
    if (data)
        XFree(data);
    return value;
}

bool isOwnWindow(Display* display, Window window)
{
    for (QWindow* own : QGuiApplication::allWindows()) {
        if (own->handle() && Window(own->winId()) == window)
            return true;
    }
    // Windows a library made on this process's connections (an engine's own video window).
    const unsigned long pid = propertyValue(display, window, "_NET_WM_PID", XA_CARDINAL);
    return pid != 0 && pid == static_cast<unsigned long>(getpid());
}

} // namespace

ActiveWindow ActiveWindowNow()
{
    Display* display = ApplicationX11Display();
    if (!display) {
        if (QWindow* focus = QGuiApplication::focusWindow())
            return {quintptr(focus->winId()), ActiveWindowOwner::ThisProgram};
        const QString platform = QGuiApplication::platformName();
        if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal")
            || QGuiApplication::applicationState() == Qt::ApplicationActive)
            return {};
        return {0, ActiveWindowOwner::OtherProgram};
    }
    const Window active =
        Window(propertyValue(display, DefaultRootWindow(display), "_NET_ACTIVE_WINDOW", XA_WINDOW));
    // None active while Qt, later, says this program lost the focus: a window the property does
    // not cover has it (a native Wayland window under XWayland, or no window manager at all).
    if (active == 0) {
        return QGuiApplication::applicationState() == Qt::ApplicationActive
                   ? ActiveWindow{}
                   : ActiveWindow{0, ActiveWindowOwner::OtherProgram};
    }
    return {quintptr(active), isOwnWindow(display, active) ? ActiveWindowOwner::ThisProgram
                                                           : ActiveWindowOwner::OtherProgram};
}

void KeepOutOfTaskBar(QWindow* window)
{
    Display* display = ApplicationX11Display();
    if (!display || !window)
        return;
    const Window id = Window(window->winId());
    const Atom state = XInternAtom(display, "_NET_WM_STATE", False);
    const Atom skip[] = {XInternAtom(display, "_NET_WM_STATE_SKIP_TASKBAR", False),
                         XInternAtom(display, "_NET_WM_STATE_SKIP_PAGER", False)};
    if (!window->isVisible()) {
        // A window not yet mapped carries its wishes in the property; Qt adds its own to it.
        XChangeProperty(display, id, state, XA_ATOM, 32, PropModeAppend,
                        reinterpret_cast<const unsigned char*>(skip), 2);
    } else {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = id;
        event.xclient.message_type = state;
        event.xclient.format = 32;
        event.xclient.data.l[0] = 1;   // add
        event.xclient.data.l[1] = long(skip[0]);
        event.xclient.data.l[2] = long(skip[1]);
        event.xclient.data.l[3] = 1;   // from an application
        XSendEvent(display, DefaultRootWindow(display), False,
                   SubstructureRedirectMask | SubstructureNotifyMask, &event);
    }
    XFlush(display);
}
