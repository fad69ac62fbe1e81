#include "modWindowTransparency.h"

#include "render/ScreenBuffer.h"

#include <QBitmap>
#include <QImage>
#include <QList>
#include <QRegion>
#include <QVariant>
#include <QWidget>

namespace {
constexpr char kKeyProperty[] = "veltrixColorKey";
}

void MakeColorTransparent(QWidget* window, long color)
{
    if (!window)
        return;
    window->setProperty(kKeyProperty, qlonglong(color & 0xFFFFFF));
    window->setAttribute(Qt::WA_TranslucentBackground, false);
}

long TransparentColorOf(const QWidget* window)
{
    if (!window)
        return -1;
    const QVariant key = window->property(kKeyProperty);
    return key.isValid() ? long(key.toLongLong()) : -1;
}

QRegion OpaqueRegion(const QImage& picture, long color)
{
    if (picture.isNull())
        return {};
    const QRgb key = ScreenBuffer::ToColor(color).rgb();
    const QImage rgb = picture.format() == QImage::Format_RGB32
        ? picture : picture.convertToFormat(QImage::Format_RGB32);
    // One rectangle per run of opaque pixels on a line. They come sorted by line, then by
    // column, and never overlap: the order a region keeps them in, so they are handed over whole.
    QList<QRect> runs;
    const int width = rgb.width();
    const int height = rgb.height();
    for (int y = 0; y < height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        int x = 0;
        while (x < width) {
            while (x < width && (line[x] | 0xFF000000u) == key)
                ++x;
            const int start = x;
            while (x < width && (line[x] | 0xFF000000u) != key)
                ++x;
            if (x > start)
                runs.append(QRect(start, y, x - start, 1));
        }
    }
    QRegion region;
    region.setRects(runs.constData(), int(runs.size()));
    return region;
}

void ApplyColorKey(QWidget* window, const QImage& picture)
{
    const long key = TransparentColorOf(window);
    if (key < 0)
        return;
    const QRegion opaque = OpaqueRegion(picture, key);
    // An empty mask would mean no mask at all, the whole window shown: keep a pixel that lies
    // outside the window instead.
    window->setMask(opaque.isEmpty() ? QRegion(window->width(), window->height(), 1, 1)
                                     : opaque);
}
