#include "WindowAtPoint.h"
#include "X11Display.h"

#include <QGuiApplication>
#include <QPoint>
#include <QWindow>

#include <X11/Xlib.h>

namespace {

quintptr qtTopLevelOf(quintptr window)
{
    for (QWindow* candidate : QGuiApplication::allWindows()) {
        if (candidate->handle() && quintptr(candidate->winId()) == window) {
            QWindow* top = candidate;
            while (top->parent())
                top = top->parent();
            return quintptr(top->winId());
        }
    }
    return 0;
}

}   // namespace

quintptr TopLevelWindowAtPoint(const QPoint& screenPoint)
{
    Display* display = ApplicationX11Display();
    if (!display) {
        QWindow* window = QGuiApplication::topLevelAt(screenPoint);
        return window ? quintptr(window->winId()) : 0;
    }
    const Window root = DefaultRootWindow(display);
    Window rootBack = 0, parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, root, &rootBack, &parent, &children, &count))
        return 0;
    quintptr found = 0;
    // Children come bottom first: the first hit from the end is the one on top.
    for (unsigned int i = count; i-- > 0 && !found;) {
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(display, children[i], &attributes)
            || attributes.map_state != IsViewable || attributes.c_class == InputOnly)
            continue;
        const int outerWidth = attributes.width + 2 * attributes.border_width;
        const int outerHeight = attributes.height + 2 * attributes.border_width;
        if (screenPoint.x() >= attributes.x && screenPoint.x() < attributes.x + outerWidth
            && screenPoint.y() >= attributes.y && screenPoint.y() < attributes.y + outerHeight)
            found = quintptr(children[i]);
    }
    if (children)
        XFree(children);
    return found;
}

quintptr TopLevelAncestor(quintptr window)
{
    Display* display = ApplicationX11Display();
    if (!display)
        return qtTopLevelOf(window);
    const Window root = DefaultRootWindow(display);
    Window current = Window(window);
    while (current && current != root) {
        Window rootBack = 0, parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(display, current, &rootBack, &parent, &children, &count))
            return 0;
        if (children)
            XFree(children);
        if (parent == root)
            return quintptr(current);
        current = parent;
    }
    return 0;
}
