#include "controls/FlatBorder.h"

#include "controls/EdgePainter.h"
#include "controls/OleColor.h"

#include <QPainter>

void DrawFlatBorder(QPainter& painter, const QRect& rect, int style, const QPalette& palette)
{
    const QColor frame = ResolveOleColor(SystemColor::WindowFrame, palette);
    if (style >= 1 && style <= 10) {
        DrawEdge(painter, rect, style, palette, style == Edge::Raised || style == Edge::Sunken);
        return;
    }
    switch (style) {
    case 11:
        DrawFrame(painter, rect, frame);
        break;
    case 12:
        DrawEdge(painter, DrawFrame(painter, rect, frame), Edge::Raised, palette, true);
        break;
    case 13:
        DrawEdge(painter, DrawFrame(painter, rect, frame), Edge::RaisedInner, palette);
        break;
    case 14:
        DrawEdge(painter, DrawFrame(painter, rect, frame), Edge::SunkenOuter, palette);
        break;
    case 15:
        // The sunken edge sits one pixel further in, leaving a face-coloured gap inside the frame.
        DrawEdge(painter, DrawFrame(painter, rect, frame).adjusted(1, 1, -1, -1), Edge::Sunken,
                 palette, true);
        break;
    case 16:
        DrawFrame(painter, DrawFrame(painter, rect, frame),
                  ResolveOleColor(SystemColor::ButtonShadow, palette));
        break;
    default:
        break;
    }
}
