#include "frmSubtitle.h"

#include "render/ScreenBuffer.h"
#include "render/modWindowTransparency.h"

#include <QPainter>

#include <cstring>

frmSubtitle::frmSubtitle()
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint
                           | Qt::WindowDoesNotAcceptFocus)
{
    setObjectName(QStringLiteral("frmSubtitle"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_X11DoNotAcceptFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, ScreenBuffer::ToColor(kKeyColor));
    colours.setColor(QPalette::WindowText, ScreenBuffer::ToColor(kTextColor));
    setPalette(colours);
    QFont arial(QStringLiteral("Arial"));
    arial.setPointSizeF(8.25);
    arial.setWeight(QFont::Normal);
    arial.setItalic(false);
    setFont(arial);
    MakeColorTransparent(this, kKeyColor);
}

void frmSubtitle::Present(const QImage& picture, const QRect& rect)
{
    const bool resized = shown_.size() != size();
    if (resized) {
        shown_ = QImage(size(), QImage::Format_RGB32);
        shown_.fill(ScreenBuffer::ToColor(kKeyColor));
    }
    // Every tick draws the same caption again: a picture already on screen needs no new mask.
    if (!resized && !mask().isEmpty() && sameAsShown(picture, rect))
        return;
    QPainter painter(&shown_);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(rect.topLeft(), picture, rect);
    painter.end();
    ApplyColorKey(this, shown_);
    repaint();
}

bool frmSubtitle::sameAsShown(const QImage& picture, const QRect& rect) const
{
    if (rect != shown_.rect() || picture.format() != shown_.format()
        || !picture.rect().contains(rect))
        return false;
    const auto bytes = size_t(rect.width()) * sizeof(QRgb);
    for (int y = 0; y < rect.height(); ++y)
        if (std::memcmp(picture.constScanLine(y), shown_.constScanLine(y), bytes) != 0)
            return false;
    return true;
}

void frmSubtitle::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (shown_.isNull())
        painter.fillRect(rect(), ScreenBuffer::ToColor(kKeyColor));
    else
        painter.drawImage(0, 0, shown_);
}
