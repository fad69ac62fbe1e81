#include "frmSubtitle.h"

#include "render/ScreenBuffer.h"
#include "render/modWindowTransparency.h"

#include <QPainter>

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
    if (shown_.size() != size()) {
        shown_ = QImage(size(), QImage::Format_RGB32);
        shown_.fill(ScreenBuffer::ToColor(kKeyColor));
    }
    QPainter painter(&shown_);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(rect.topLeft(), picture, rect);
    painter.end();
    ApplyColorKey(this, shown_);
    repaint();
}

void frmSubtitle::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (shown_.isNull())
        painter.fillRect(rect(), ScreenBuffer::ToColor(kKeyColor));
    else
        painter.drawImage(0, 0, shown_);
}
