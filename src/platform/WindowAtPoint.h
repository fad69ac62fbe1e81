#pragma once

#include <QtGlobal>

class QPoint;

// Which top-level window is at a screen point, other programs' windows included (on X11 the
// stacking order of the root window's children, so a window manager's frame stands for the
// window it frames). Elsewhere only this program's own windows are known. 0 when none.
quintptr TopLevelWindowAtPoint(const QPoint& screenPoint);

// The top-level window the given native window belongs to, in the same terms as above.
quintptr TopLevelAncestor(quintptr window);
