#pragma once

class QWindow;

// Asks the window manager to keep a window above all normal windows, or no longer to, without
// re-creating it. Qt's own stays-on-top flag makes the X11 platform plug-in replace the native
// window the next time it is shown after a change, behind the widget's back: its id changes and
// everything that knew the window by its id (stacking queries, the engines' video windows inside
// it, its placement) loses it.
// A window not mapped now carries the wish in its state property, which the window manager reads
// when it maps it. Returns false where there is no such request (not X11): use Qt's flag there.
bool KeepAbove(QWindow* window, bool above);
