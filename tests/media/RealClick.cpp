#include "RealClick.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

bool SendRealClick(int x, int y, unsigned button)
{
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    XTestFakeMotionEvent(display, -1, x, y, CurrentTime);
    XTestFakeButtonEvent(display, button, True, CurrentTime);
    XTestFakeButtonEvent(display, button, False, CurrentTime);
    XFlush(display);
    XCloseDisplay(display);
    return true;
}
