#pragma once

#include <QPalette>
#include <QRect>

class QPainter;

// Three-dimensional edges in the classic two-ring form: an outer and an inner one-pixel ring,
// each raised or sunken. Pixels are logical, so the rings stay one pixel wide on the screen at
// any device pixel ratio times that ratio, and land on whole device pixels.
namespace Edge {
constexpr int RaisedOuter = 1, SunkenOuter = 2, RaisedInner = 4, SunkenInner = 8;
constexpr int Raised = RaisedOuter | RaisedInner, Sunken = SunkenOuter | SunkenInner;
} // namespace Edge

// Draws the rings that `edges` names around `rect` and returns the rectangle inside them.
// `soft` lightens the outer highlight the way softened button borders look.
QRect DrawEdge(QPainter& painter, const QRect& rect, int edges, const QPalette& palette,
               bool soft = false);

// A one-pixel frame in one colour; returns the rectangle inside it.
QRect DrawFrame(QPainter& painter, const QRect& rect, const QColor& color);
