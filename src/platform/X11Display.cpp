#include "X11Display.h"

#include <QGuiApplication>

#include <X11/Xlib.h>

Display* ApplicationX11Display()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                        : nullptr;
    return x11 ? x11->display() : nullptr;
}

void SyncWithX11Server()
{
    if (Display* display = ApplicationX11Display())
        XSync(display, False);
}
