#include "controls/nSlider.h"

#include "controls/EdgePainter.h"
#include "controls/OleColor.h"
#include "controls/PropertyBag.h"

#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace {

// Halves to even, as every pixel position of the track is rounded.
int RoundPixel(double value)
{
    return int(std::nearbyint(value));
}

} // namespace

nSlider::nSlider(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize nSlider::sizeHint() const
{
    return m_orientation == 0 ? QSize(200, 20) : QSize(20, 120);
}

void nSlider::SetValue(double value)
{
    if (value < 0 && value != -1)
        value = 0;
    else if (value > 1)
        value = 1;
    if (value == m_value)
        return;
    emit PropertyChanged(QStringLiteral("Value"));
    // A position slider is set on every playback tick; it is drawn again only when the thumb
    // moves by a pixel or appears or goes.
    const int thumbBefore = m_value < 0 ? -1 : ThumbStart();
    m_value = value;
    if ((m_value < 0 ? -1 : ThumbStart()) != thumbBefore)
        Redraw();
    emit Change();
}

void nSlider::SetOrientation(int orientation)
{
    if ((orientation != 0 && orientation != 1) || orientation == m_orientation)
        return;
    emit PropertyChanged(QStringLiteral("Orientation"));
    m_orientation = orientation;
    Redraw();
}

void nSlider::SetStyle(int style)
{
    if (style == m_style)
        return;
    emit PropertyChanged(QStringLiteral("Style"));
    m_style = style;
    Redraw();
}

void nSlider::SetBlockSize(int blockSize)
{
    if (blockSize == m_blockSize)
        return;
    emit PropertyChanged(QStringLiteral("BlockSize"));
    m_blockSize = blockSize;
    Redraw();
}

void nSlider::SetEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    emit PropertyChanged(QStringLiteral("Enabled"));
    m_enabled = enabled;
    Redraw();
}

void nSlider::ReadProperties(const PropertyBag& bag)
{
    m_enabled = bag.ReadProperty(QStringLiteral("Enabled"), true).toBool();
    const int orientation = bag.ReadProperty(QStringLiteral("Orientation"), 0).toInt();
    m_orientation = (orientation == 1) ? 1 : 0;
    const double value = bag.ReadProperty(QStringLiteral("Value"), 0.5).toDouble();
    m_value = (value == -1) ? -1 : std::clamp(std::isnan(value) ? 0.5 : value, 0.0, 1.0);
    m_blockSize = bag.ReadProperty(QStringLiteral("BlockSize"), 40).toInt();
    m_style = bag.ReadProperty(QStringLiteral("Style"), 0).toInt();
    Redraw();
}

void nSlider::WriteProperties(PropertyBag& bag) const
{
    bag.WriteProperty(QStringLiteral("Enabled"), m_enabled, true);
    bag.WriteProperty(QStringLiteral("Orientation"), m_orientation, 0);
    bag.WriteProperty(QStringLiteral("Value"), m_value, 0.5);
    bag.WriteProperty(QStringLiteral("BlockSize"), m_blockSize, 40);
    bag.WriteProperty(QStringLiteral("Style"), m_style, 0);
}

int nSlider::TrackLength() const
{
    return m_orientation == 0 ? width() : height();
}

int nSlider::CrossLength() const
{
    return m_orientation == 0 ? height() : width();
}

int nSlider::Margin() const
{
    return m_style == SunkenField ? 2 : 0;
}

int nSlider::ThumbStart() const
{
    const int m = Margin();
    return RoundPixel(double(TrackLength() - m_blockSize - 2 * m) * m_value + m);
}

std::optional<double> nSlider::ValueAtPosition(double position) const
{
    const int m = Margin();
    const int span = TrackLength() - m_blockSize - 2 * m;
    // A track no longer than the thumb has no travel: there is no value to take from the mouse.
    if (span <= 0)
        return std::nullopt;
    return (position - m) / span;
}

double nSlider::TrackCoordinate(const QMouseEvent* event) const
{
    const QPointF pos = event->position();
    return RoundPixel(m_orientation == 0 ? pos.x() : pos.y());
}

void nSlider::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_enabled)
        return;
    const int p = ThumbStart();
    const int mouse = int(TrackCoordinate(event));
    m_dragging = true;
    if (mouse > p + m_blockSize || mouse < p) {
        if (auto value = ValueAtPosition(RoundPixel(mouse - m_blockSize / 2.0)))
            SetValue(std::max(*value, 0.0));
        m_grabOffset = RoundPixel(m_blockSize / 2.0);
        emit Slide();
    } else {
        m_grabOffset = mouse - p;
    }
}

void nSlider::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_dragging || !m_enabled)
        return;
    const double position = RoundPixel(TrackCoordinate(event) - m_grabOffset);
    // Dragged past the start, the value is held at 0: landing exactly on -1 must not hide the
    // thumb under the user's pointer.
    if (auto value = ValueAtPosition(position))
        SetValue(std::max(*value, 0.0));
    emit Slide();
}

void nSlider::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_dragging = false;
    emit Release();
}

void nSlider::resizeEvent(QResizeEvent*)
{
    EnsureBackBuffer(true);
    Redraw();
}

void nSlider::EnsureBackBuffer(bool grow)
{
    const qreal ratio = devicePixelRatioF();
    const bool tooSmall = width() > m_bufferSize.width() || height() > m_bufferSize.height();
    if (!m_buffer.isNull() && m_buffer.devicePixelRatio() == ratio && !(grow && tooSmall))
        return;
    if (m_buffer.isNull() || tooSmall)
        m_bufferSize = QSize(RoundPixel(width() * 1.5), RoundPixel(height() * 1.5));
    m_buffer = QPixmap(m_bufferSize * ratio);
    m_buffer.setDevicePixelRatio(ratio);
}

void nSlider::Redraw()
{
    if (m_buffer.isNull())
        return; // nothing to draw into before the first resize; that resize draws
    EnsureBackBuffer(false);
    QPainter painter(&m_buffer);
    DrawInto(painter);
    update();
}

void nSlider::paintEvent(QPaintEvent*)
{
    if (m_buffer.isNull() || m_buffer.devicePixelRatio() != devicePixelRatioF()) {
        EnsureBackBuffer(true);
        QPainter bufferPainter(&m_buffer);
        DrawInto(bufferPainter);
    }
    QPainter painter(this);
    painter.drawPixmap(QPoint(0, 0), m_buffer);
}

void nSlider::DrawTrackLine(QPainter& painter, QPointF from, QPointF to, const QColor& color) const
{
    if (m_orientation == 1) {
        from = QPointF(from.y(), from.x());
        to = QPointF(to.y(), to.x());
    }
    painter.setPen(QPen(color, 1));
    painter.drawLine(from + QPointF(0.5, 0.5), to + QPointF(0.5, 0.5));
}

void nSlider::DrawInto(QPainter& painter) const
{
    const QPalette& pal = palette();
    const QRect r = rect();
    const QColor face = ResolveOleColor(SystemColor::ButtonFace, pal);
    const QColor shadow = ResolveOleColor(SystemColor::ButtonShadow, pal);
    const QColor highlight = ResolveOleColor(SystemColor::ButtonHighlight, pal);
    const int L = TrackLength();
    const int C = CrossLength();
    const double lo = RoundPixel(0.25 * C);
    const double hi = RoundPixel(0.75 * C);
    painter.setRenderHint(QPainter::Antialiasing, false);
    switch (m_style) {
    case SunkenField:
        painter.fillRect(r, ResolveOleColor(
                                m_enabled ? SystemColor::Window : SystemColor::ButtonFace, pal));
        DrawEdge(painter, r, Edge::Sunken, pal);
        break;
    case Groove: {
        painter.fillRect(r, face);
        // The groove runs along the track whatever the orientation.
        const int a = RoundPixel(C / 2.0 - 2), b = RoundPixel(C / 2.0 + 2);
        const QRect band = m_orientation == 0 ? QRect(0, a, L, b - a) : QRect(a, 0, b - a, L);
        DrawEdge(painter, band, Edge::Sunken, pal);
        break;
    }
    case WedgeRising:
        painter.fillRect(r, face);
        DrawTrackLine(painter, {0, hi}, {double(L - 1), lo}, shadow);
        DrawTrackLine(painter, {double(L - 1), lo}, {double(L - 1), hi}, highlight);
        DrawTrackLine(painter, {double(L - 1), hi}, {0, hi}, highlight);
        break;
    case WedgeFalling:
        painter.fillRect(r, face);
        DrawTrackLine(painter, {0, lo}, {double(L - 1), hi}, shadow);
        DrawTrackLine(painter, {double(L - 1), hi}, {0, hi}, highlight);
        DrawTrackLine(painter, {0, hi}, {0, lo}, shadow);
        break;
    default:
        // An unknown look draws no track; clear what an earlier look left in the buffer.
        painter.fillRect(r, face);
        break;
    }
    if (m_value < 0)
        return;
    const int p = ThumbStart();
    const int crossEnd = RoundPixel(C - 2.0);
    const QRect thumb = m_orientation == 0 ? QRect(QPoint(p, 2), QPoint(p + m_blockSize - 1,
                                                                        crossEnd - 1))
                                           : QRect(QPoint(2, p), QPoint(crossEnd - 1,
                                                                        p + m_blockSize - 1));
    painter.fillRect(thumb, face);
    DrawEdge(painter, thumb, m_style == SunkenField ? Edge::RaisedInner : Edge::Raised, pal);
}
