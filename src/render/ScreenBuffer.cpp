#include "ScreenBuffer.h"

#include "render/DrawObject.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QPolygon>
#include <QWidget>

#include <cmath>

namespace {
constexpr long kInvalidColor = 0xFFFFFFFFL;   // what a read outside the surface gives
}

ScreenBufferError::ScreenBufferError(long number, QString source, QString description)
    : std::runtime_error(description.toStdString()), Number(number), Source(std::move(source)),
      Description(std::move(description))
{
}

QColor ScreenBuffer::ToColor(long bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

long ScreenBuffer::FromColor(const QColor& color)
{
    return long(color.red()) | (long(color.green()) << 8) | (long(color.blue()) << 16);
}

void ScreenBuffer::Create(DrawObject* drawObject)
{
    if (!drawObject)
        return;
    const QSize size = drawObject->ClientSize();
    width_ = std::max(0, size.width());
    height_ = std::max(0, size.height());
    image_ = QImage(int(width_), int(height_), QImage::Format_RGB32);
    // Text sizes given in points follow the window's screen.
    if (QWidget* widget = drawObject->Widget()) {
        const double dotsPerMeter = widget->logicalDpiY() / 0.0254;
        image_.setDotsPerMeterX(int(std::lround(widget->logicalDpiX() / 0.0254)));
        image_.setDotsPerMeterY(int(std::lround(dotsPerMeter)));
    }
    drawObject_ = drawObject;
    created_ = true;
    Clear(0);
    foreColor_ = 0xFFFFFF;
}

void ScreenBuffer::Destroy()
{
    hasFont_ = false;
    image_ = QImage();
    drawObject_ = nullptr;
    created_ = false;
    pictureCache_.clear();
}

QSize ScreenBuffer::clientSize() const
{
    return drawObject_ ? drawObject_->ClientSize() : QSize(int(width_), int(height_));
}

void ScreenBuffer::Clear(long color, long width, long height)
{
    if (!created_ || image_.isNull())
        return;
    const QSize client = clientSize();
    const int w = width < 1 ? client.width() : int(width);
    const int h = height < 1 ? client.height() : int(height);
    QPainter painter(&image_);
    painter.fillRect(QRect(0, 0, w, h), ToColor(color));
}

void ScreenBuffer::Flip(long width, long height)
{
    if (!created_ || !drawObject_)
        return;
    const QSize client = clientSize();
    const int w = width < 1 ? client.width() : int(width);
    const int h = height < 1 ? client.height() : int(height);
    drawObject_->Present(image_, QRect(0, 0, w, h));
}

long ScreenBuffer::Pixel(int x, int y) const
{
    if (!image_.valid(x, y))
        return kInvalidColor;
    return FromColor(image_.pixelColor(x, y));
}

// Text is drawn in the surface's font; the colour becomes the surface's current text colour.
void ScreenBuffer::beginText(QPainter& painter, long color)
{
    foreColor_ = color;
    painter.begin(&image_);
    painter.setFont(font_);
    painter.setPen(ToColor(color));
}

void ScreenBuffer::DrawText(int x, int y, const QString& text, long color, int align)
{
    if (!created_)
        return;
    QPainter painter;
    beginText(painter, color);
    const QFontMetrics metrics(font_, &image_);
    if (align & AlignCenterX)
        x -= metrics.horizontalAdvance(text) / 2;
    if (align & AlignCenterY)
        y -= metrics.height() / 2;
    // Text is placed by its top-left corner, as the cell of a text line.
    painter.drawText(x, y + metrics.ascent(), text);
}

void ScreenBuffer::DrawTextMultiLine(int x, int y, const QString& text, long color)
{
    if (!created_)
        return;
    QPainter painter;
    beginText(painter, color);
    // An empty rectangle at (x, y) that is not clipped: lines centred on x, downwards from y.
    painter.drawText(QRect(x, y, 0, 0), Qt::AlignHCenter | Qt::AlignTop | Qt::TextDontClip,
                     text);
}

void ScreenBuffer::SetFont(const std::optional<FontDesc>& font, int height, int width,
                           int escapement, int orientation, int quality)
{
    Q_UNUSED(orientation);
    if (!font)
        return;   // nothing to read the attributes from
    const int dpi = created_ ? image_.logicalDpiY() : 96;
    height = int(std::lround(std::lround(font->Size) * double(dpi) / 72.0));
    QFont made(font->Name);
    made.setPixelSize(std::max(1, std::abs(height)));
    made.setWeight(QFont::Weight(std::clamp(font->Weight, 1, 1000)));
    made.setItalic(font->Italic);
    made.setUnderline(font->Underline);
    made.setStrikeOut(font->Strikethrough);
    if (width > 0)
        made.setStretch(std::clamp(width * 100 / std::max(1, height / 2), 1, 4000));
    if (quality == 3)   // non-antialiased
        made.setStyleStrategy(QFont::NoAntialias);
    escapement_ = escapement;
    charset_ = font->Charset;
    font_ = made;
    hasFont_ = true;
}

FontDesc ScreenBuffer::GetFont() const
{
    if (!hasFont_)
        throw ScreenBufferError(long(0x80040003L), QStringLiteral("ScreenBuffer"),
                                QStringLiteral("Unable to retrieve font!"));
    FontDesc desc;
    desc.Name = font_.family().trimmed();
    desc.Size = font_.pixelSize() > 0 ? font_.pixelSize() : font_.pointSizeF();
    desc.Weight = font_.weight();
    desc.Italic = font_.italic();
    desc.Underline = font_.underline();
    desc.Strikethrough = font_.strikeOut();
    desc.Charset = charset_;
    return desc;
}

bool ScreenBuffer::CachePic(const QImage& picture)
{
    if (picture.isNull())
        return false;
    return pictureCache_.emplace(picture.cacheKey(), picture).second;
}

QImage ScreenBuffer::cached(const QImage& picture) const
{
    const auto found = pictureCache_.find(picture.cacheKey());
    return found != pictureCache_.end() ? found->second : picture;
}
