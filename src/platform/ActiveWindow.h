#pragma once

#include <QtGlobal>

class QWindow;

// Whose window the desktop has made the active one.
enum class ActiveWindowOwner {
    NoWindow,       // no window is active, or the desktop does not say
    ThisProgram,    // one of this process's own windows
    OtherProgram,   // a window of another program
};

struct ActiveWindow {
    quintptr window = 0;   // native id of the active top-level window, 0 for none
    ActiveWindowOwner owner = ActiveWindowOwner::NoWindow;
};

// Read from the window manager at the moment of the call (on X11 the root window's
// _NET_ACTIVE_WINDOW), not from Qt's activation events, which arrive about 100 ms late there;
// only when the property names no window does Qt's view decide.
// Elsewhere Qt's own view is all there is; on platforms without other programs' windows
// (offscreen, minimal) the owner is never OtherProgram.
ActiveWindow ActiveWindowNow();

// Asks the window manager to leave the window out of the task bar and the pager. Call it before
// the window is first shown; on other platforms it does nothing.
void KeepOutOfTaskBar(QWindow* window);
