#pragma once

#include "render/DrawObject.h"

#include <QImage>
#include <QRect>
#include <QWidget>

// A draw object whose client size the test sets and whose presented pictures it keeps.
class FakeDrawObject : public DrawObject {
public:
    explicit FakeDrawObject(QSize size) : size_(size) {}
    QWidget* Widget() override { return &widget_; }
    QSize ClientSize() const override { return size_; }
    void Present(const QImage& picture, const QRect& rect) override
    {
        shown = QImage(size_, QImage::Format_RGB32);
        shown.fill(Qt::magenta);
        presentedRect = rect;
        for (int y = 0; y < std::min(rect.height(), picture.height()); ++y)
            for (int x = 0; x < std::min(rect.width(), picture.width()); ++x)
                if (shown.valid(x, y))
                    shown.setPixel(x, y, picture.pixel(x, y));
    }
    void Resize(QSize size) { size_ = size; }

    QImage shown;
    QRect presentedRect;

private:
    QSize size_;
    QWidget widget_;
};
