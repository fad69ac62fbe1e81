#include "WindowKeepAbove.h"
#include "X11Display.h"

#include <QWindow>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <vector>

namespace {

std::vector<Atom> stateOf(Display* display, Window window, Atom state)
{
    std::vector<Atom> atoms;
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, state, 0, 1024, False, XA_ATOM, &type, &format,
                           &count, &remaining, &data) == Success
        && data && type == XA_ATOM && format == 32) {
        const auto* items = reinterpret_cast<const Atom*>(data);
        atoms.assign(items, items + count);
    }
    if (data)
        XFree(data);
    return atoms;
}

} // namespace

bool KeepAbove(QWindow* window, bool above)
{
    Display* display = ApplicationX11Display();
    if (!display || !window)
        return false;
    const Window id = Window(window->winId());
    const Atom state = XInternAtom(display, "_NET_WM_STATE", False);
    const Atom aboveAtom = XInternAtom(display, "_NET_WM_STATE_ABOVE", False);
    if (window->isVisible()) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = id;
        event.xclient.message_type = state;
        event.xclient.format = 32;
        event.xclient.data.l[0] = above ? 1 : 0;   // add or remove
        event.xclient.data.l[1] = long(aboveAtom);
        event.xclient.data.l[3] = 1;               // from an application
        XSendEvent(display, DefaultRootWindow(display), False,
                   SubstructureRedirectMask | SubstructureNotifyMask, &event);
    } else {
        // Qt merges its own states into what the property holds when it maps the window.
        std::vector<Atom> atoms = stateOf(display, id, state);
        atoms.erase(std::remove(atoms.begin(), atoms.end(), aboveAtom), atoms.end());
        if (above)
            atoms.push_back(aboveAtom);
        XChangeProperty(display, id, state, XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(atoms.data()), int(atoms.size()));
    }
    XFlush(display);
    return true;
}
