// The surface's pictures, shapes, gradients, rotation and tinting.
#include "ScreenBuffer.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPolygon>
#include <QTransform>

#include <cmath>
#include <numbers>

namespace {

QImage recoloured(QImage picture, std::optional<long> transColor, bool monochrome, QRgb fore)
{
    picture = picture.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = transColor ? ScreenBuffer::ToColor(*transColor).rgb() : 0;
    for (int y = 0; y < picture.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            if (transColor && (line[x] | 0xFF000000u) == key)
                line[x] = 0;
            else if (monochrome)
                line[x] = fore | 0xFF000000u;
        }
    }
    return picture;
}

QRgb scaled(QRgb pixel, float red, float green, float blue)
{
    auto channel = [](int value, float factor) {
        return std::clamp(int(std::lround(value * factor)), 0, 255);
    };
    return qRgba(channel(qRed(pixel), red), channel(qGreen(pixel), green),
                 channel(qBlue(pixel), blue), qAlpha(pixel));
}

}   // namespace

void ScreenBuffer::Blt(const QImage& source, int x, int y, int w, int h, bool stretch,
                       std::optional<long> transColor, bool monochrome)
{
    if (!created_ || source.isNull())
        return;
    QImage picture = cached(source);
    if (w <= 0)
        w = picture.width();
    if (h <= 0)
        h = picture.height();
    if (w == picture.width() && h == picture.height())
        stretch = false;
    if (transColor || monochrome)
        picture = recoloured(picture, transColor, monochrome, ToColor(foreColor_).rgb());
    QPainter painter(&image_);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, stretchMode_ == Halftone);
    if (stretch)
        painter.drawImage(QRect(x, y, w, h), picture);
    else
        painter.drawImage(QPoint(x, y), picture, QRect(0, 0, w, h));
}

void ScreenBuffer::DrawCircle(int x, int y, int radius, long color, int thickness)
{
    if (!created_)
        return;
    QPainter painter(&image_);
    painter.setPen(QPen(resolve(color), std::max(1, thickness)));
    painter.drawEllipse(QRect(x - radius, y - radius, 2 * radius, 2 * radius));
}

void ScreenBuffer::DrawRect(int x1, int y1, int x2, int y2, long color, int thickness)
{
    if (!created_)
        return;
    QPainter painter(&image_);
    painter.setPen(QPen(resolve(color), std::max(1, thickness), Qt::SolidLine, Qt::SquareCap,
                        Qt::MiterJoin));
    // An odd pen closes the outline one pixel higher, so the corner pixel is not left out.
    const int closingY = (thickness % 2) ? y1 - 1 : y1;
    const QPolygon outline{QPoint(x1, y1), QPoint(x2, y1), QPoint(x2, y2), QPoint(x1, y2),
                           QPoint(x1, closingY)};
    painter.drawPolyline(outline);
}

void ScreenBuffer::DrawFilledRect(int left, int top, int right, int bottom, long color)
{
    if (!created_)
        return;
    QPainter painter(&image_);
    // The right and bottom edges are not part of the rectangle.
    painter.fillRect(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)), resolve(color));
}

void ScreenBuffer::DrawGradientRect(int left, int top, int bottom, int right, long color1,
                                    long color2, int direction)
{
    if (!created_ || right <= left || bottom <= top)
        return;
    QLinearGradient gradient = direction == 1
        ? QLinearGradient(0, top, 0, bottom) : QLinearGradient(left, 0, right, 0);
    gradient.setColorAt(0, ToColor(color1));
    gradient.setColorAt(1, ToColor(color2));
    QPainter painter(&image_);
    painter.fillRect(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)), gradient);
}

void ScreenBuffer::DrawGradientTriangle(int x1, int y1, long color1, int x2, int y2,
                                        long color2, int x3, int y3, long color3)
{
    if (!created_)
        return;
    // Barycentric blend of the three corner colours over every pixel inside the triangle.
    const double area = double(x2 - x1) * (y3 - y1) - double(x3 - x1) * (y2 - y1);
    if (area == 0)
        return;
    const QColor c[3] = {ToColor(color1), ToColor(color2), ToColor(color3)};
    const int minX = std::max(0, std::min({x1, x2, x3}));
    const int maxX = std::min(image_.width() - 1, std::max({x1, x2, x3}));
    const int minY = std::max(0, std::min({y1, y2, y3}));
    const int maxY = std::min(image_.height() - 1, std::max({y1, y2, y3}));
    for (int y = minY; y <= maxY; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image_.scanLine(y));
        for (int x = minX; x <= maxX; ++x) {
            const double w1 = (double(x2 - x) * (y3 - y) - double(x3 - x) * (y2 - y)) / area;
            const double w2 = (double(x3 - x) * (y1 - y) - double(x1 - x) * (y3 - y)) / area;
            const double w3 = 1 - w1 - w2;
            if (w1 < 0 || w2 < 0 || w3 < 0)
                continue;
            auto mix = [&](int (QColor::*part)() const) {
                return int(std::lround(w1 * (c[0].*part)() + w2 * (c[1].*part)()
                                       + w3 * (c[2].*part)()));
            };
            line[x] = qRgb(mix(&QColor::red), mix(&QColor::green), mix(&QColor::blue));
        }
    }
}

void ScreenBuffer::RotateBlt(const QImage& picture, int x, int y, double degrees)
{
    if (!created_ || picture.isNull())
        return;
    QPainter painter(&image_);
    QTransform turn;
    turn.translate(x, y);
    turn.rotate(degrees);
    painter.setTransform(turn);
    painter.drawImage(QPoint(0, 0), cached(picture));
}

void ScreenBuffer::RotateBltVB(const QImage& source, int x, int y, double degrees)
{
    if (!created_ || source.isNull())
        return;
    const QImage picture = cached(source).convertToFormat(QImage::Format_RGB32);
    const double radians = degrees * std::numbers::pi / 180;
    const double cosine = std::cos(radians);
    const double sine = std::sin(radians);
    for (int py = 0; py < picture.height(); ++py) {
        for (int px = 0; px < picture.width(); ++px) {
            const int tx = x + int(std::lround(px * cosine - py * sine));
            const int ty = y + int(std::lround(px * sine + py * cosine));
            if (image_.valid(tx, ty))
                image_.setPixel(tx, ty, picture.pixel(px, py));
        }
    }
}

void ScreenBuffer::TintBitmap(QImage& bitmap, float red, float green, float blue)
{
    if (bitmap.isNull())
        return;
    if (bitmap.format() != QImage::Format_RGB32 && bitmap.format() != QImage::Format_ARGB32)
        bitmap = bitmap.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < bitmap.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(bitmap.scanLine(y));
        for (int x = 0; x < bitmap.width(); ++x)
            line[x] = scaled(line[x], red, green, blue);
    }
}

void ScreenBuffer::MakeBitmap32Bit(const QImage& bitmap, float red, float green, float blue,
                                   QImage& result)
{
    result = bitmap.convertToFormat(QImage::Format_ARGB32);
    TintBitmap(result, red, green, blue);
}
