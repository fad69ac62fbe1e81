#pragma once

#include <QPalette>
#include <QRect>

class QPainter;

// The flat button's border codes: 0 none; 1 to 10 the edge bits of EdgePainter (5 and 10
// softened); 11 a one-pixel frame in the window-frame colour; 12 to 15 that frame with an edge
// inside (raised, raised inner, sunken outer, sunken); 16 a frame-coloured ring around a
// shadow-coloured one. Unknown codes draw nothing.
void DrawFlatBorder(QPainter& painter, const QRect& rect, int style, const QPalette& palette);
