#include "StackingWatch.h"
#include "X11Display.h"

#include <QCoreApplication>

#include <X11/Xlib.h>

#include <cstdint>

namespace {

// The core protocol's structure events, by their codes (the first byte of every event).
bool isStructureEvent(uint8_t responseType)
{
    switch (responseType & 0x7f) {
    case 16:  // CreateNotify
    case 17:  // DestroyNotify
    case 18:  // UnmapNotify
    case 19:  // MapNotify
    case 21:  // ReparentNotify
    case 22:  // ConfigureNotify: moves, sizes and stacking
    case 24:  // GravityNotify
    case 26:  // CirculateNotify
        return true;
    default:
        return false;
    }
}

}  // namespace

StackingWatch::StackingWatch()
{
    Display* display = ApplicationX11Display();
    if (!display || !QCoreApplication::instance())
        return;
    const Window root = DefaultRootWindow(display);
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, root, &attributes))
        return;
    // Added to what Qt already selects on the root window, never in place of it.
    XSelectInput(display, root, attributes.your_event_mask | SubstructureNotifyMask);
    XFlush(display);
    QCoreApplication::instance()->installNativeEventFilter(this);
    watching_ = true;
}

StackingWatch::~StackingWatch()
{
    // The root's selection stays: another watch may rely on it, and Qt ignores the events.
    if (watching_ && QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool StackingWatch::TakeChange()
{
    if (!watching_)
        return true;
    const bool changed = changed_;
    changed_ = false;
    return changed;
}

bool StackingWatch::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType == "xcb_generic_event_t" && isStructureEvent(*static_cast<uint8_t*>(message)))
        changed_ = true;
    return false;
}
