#include "controls/EdgePainter.h"

#include <QPainter>

namespace {

void DrawRing(QPainter& painter, const QRect& r, const QColor& topLeft, const QColor& bottomRight)
{
    if (r.width() <= 0 || r.height() <= 0)
        return;
    painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), topLeft);
    painter.fillRect(QRect(r.left(), r.top(), 1, r.height()), topLeft);
    painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), bottomRight);
    painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), bottomRight);
}

} // namespace

QRect DrawEdge(QPainter& painter, const QRect& rect, int edges, const QPalette& palette,
               bool soft)
{
    const QColor light = palette.color(QPalette::Light);
    const QColor midlight = palette.color(QPalette::Midlight);
    const QColor mid = palette.color(QPalette::Mid);
    const QColor shadow = palette.color(QPalette::Shadow);
    QRect r = rect;
    if (edges & Edge::RaisedOuter) {
        DrawRing(painter, r, soft ? light : midlight, shadow);
        r.adjust(1, 1, -1, -1);
    } else if (edges & Edge::SunkenOuter) {
        DrawRing(painter, r, soft ? shadow : mid, light);
        r.adjust(1, 1, -1, -1);
    }
    if (edges & Edge::RaisedInner) {
        DrawRing(painter, r, soft ? midlight : light, mid);
        r.adjust(1, 1, -1, -1);
    } else if (edges & Edge::SunkenInner) {
        DrawRing(painter, r, soft ? mid : shadow, midlight);
        r.adjust(1, 1, -1, -1);
    }
    return r;
}

QRect DrawFrame(QPainter& painter, const QRect& rect, const QColor& color)
{
    DrawRing(painter, rect, color, color);
    return rect.adjusted(1, 1, -1, -1);
}
