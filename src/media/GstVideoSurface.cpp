#include "GstVideoSurface.h"

#include "platform/X11Display.h"

#include <QEvent>

GstVideoSurface::GstVideoSurface(std::function<void(const QSize&)> exposed,
                                 std::function<void(quintptr)> windowChanged, QWidget* parent)
    : QWidget(parent), exposed_(std::move(exposed)), windowChanged_(std::move(windowChanged))
{
    setAttribute(Qt::WA_NativeWindow);
    setAttribute(Qt::WA_PaintOnScreen);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void GstVideoSurface::paintEvent(QPaintEvent*)
{
    expose();
}

void GstVideoSurface::resizeEvent(QResizeEvent*)
{
    // The sink asks the server for the window's size on its own connection; Qt's resize may
    // still sit unsent in ours.
    SyncWithX11Server();
    expose();
}

void GstVideoSurface::expose()
{
    exposed_((QSizeF(size()) * devicePixelRatioF()).toSize());
}

bool GstVideoSurface::event(QEvent* event)
{
    if (event->type() == QEvent::WinIdChange)
        windowChanged_(quintptr(winId()));
    return QWidget::event(event);
}
