#pragma once

#include <QSize>

class QImage;
class QRect;
class QWidget;

// A window a ScreenBuffer draws for: it reports its client size and takes finished pictures.
class DrawObject {
public:
    virtual ~DrawObject() = default;
    virtual QWidget* Widget() = 0;
    virtual QSize ClientSize() const = 0;
    // Copies the given rectangle of the picture onto the window at the same place and shows it.
    virtual void Present(const QImage& picture, const QRect& rect) = 0;
};
