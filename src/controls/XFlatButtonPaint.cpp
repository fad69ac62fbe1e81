#include "controls/XFlatButton.h"

#include "controls/FlatBorder.h"

#include <QBitmap>
#include <QPainter>

#include <cmath>

namespace {

int RoundPixel(double value)
{
    return int(std::nearbyint(value));
}

} // namespace

QColor XFlatButton::TargetTextColor(Look look) const
{
    switch (look) {
    case Look::Hovered: return ResolveOleColor(m_hoverColor, palette());
    case Look::Pressed: return ResolveOleColor(m_pressedColor, palette());
    case Look::Disabled: return ResolveOleColor(m_disabledColor, palette());
    case Look::Normal: break;
    }
    return ResolveOleColor(m_textColor, palette());
}

QColor XFlatButton::TargetBackColor(Look look) const
{
    switch (look) {
    case Look::Hovered: return ResolveOleColor(m_hoverBackColor, palette());
    case Look::Pressed: return ResolveOleColor(m_pressedBackColor, palette());
    case Look::Disabled:
    case Look::Normal: break;
    }
    return ResolveOleColor(m_backColor, palette());
}

int XFlatButton::BorderStyleFor(Look look) const
{
    switch (look) {
    case Look::Hovered: return m_hoverBorderStyle;
    case Look::Pressed: return m_pressedBorderStyle;
    case Look::Disabled:
    case Look::Normal: break;
    }
    return m_normalBorderStyle;
}

QPixmap XFlatButton::DrawablePicture(Look look) const
{
    const int state = look == Look::Hovered ? 1 : look == Look::Pressed ? 2
                                            : look == Look::Disabled    ? 3 : 0;
    QPixmap picture = m_pictures[state].isNull() ? m_pictures[0] : m_pictures[state];
    if (picture.isNull() || !m_transparency)
        return picture;
    const QColor key = ResolveOleColor(m_transparentColor, palette());
    picture.setMask(QBitmap::fromImage(
        picture.toImage().createMaskFromColor(key.rgb(), Qt::MaskInColor)));
    return picture;
}

QPoint XFlatButton::CaptionOrigin(const QSize& textSize) const
{
    const int w = width(), h = height();
    const int mx = RoundPixel(w / 23.0), my = RoundPixel(h / 23.0);
    const int centreX = (w - textSize.width()) / 2, centreY = (h - textSize.height()) / 2;
    const int left = mx, right = w - textSize.width() - mx;
    const int top = my, bottom = h - textSize.height() - my;
    switch (m_textAlignment) {
    case 0: return {centreX, centreY};
    case 1: return {centreX, top};
    case 2: return {centreX, bottom};
    case 3: return {left, centreY};
    case 4: return {right, centreY};
    case 5: return {left, top};
    case 6: return {right, top};
    case 7: return {left, bottom};
    case 8: return {right, bottom};
    case 9: return {centreX, m_textCustomY};
    case 10: return {m_textCustomX, centreY};
    default: return {m_textCustomX, m_textCustomY};
    }
}

void XFlatButton::DrawCaption(QPainter& painter, Look look) const
{
    if (m_text.isEmpty())
        return;
    const QFontMetrics metrics(font());
    const QSize textSize(metrics.horizontalAdvance(m_text), metrics.height());
    QPoint origin = CaptionOrigin(textSize);
    if (look == Look::Pressed && m_showTextPressed)
        origin += QPoint(1, 1);
    auto draw = [&](const QPoint& at, const QColor& color) {
        painter.save();
        painter.setPen(color);
        const QRectF box(at, textSize);
        if (m_textAngle != 0) {
            // Turned about the caption's centre, counter-clockwise as angles run on screen maps.
            painter.translate(box.center());
            painter.rotate(-m_textAngle);
            painter.translate(-box.center());
        }
        painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, m_text);
        painter.restore();
    };
    if (look == Look::Disabled && m_disabledEmbossed)
        draw(origin + QPoint(1, 1), Qt::white);
    draw(origin, m_shownText);
}

void XFlatButton::RenderBuffer()
{
    const qreal ratio = devicePixelRatioF();
    if (m_buffer.size() != size() * ratio || m_buffer.devicePixelRatio() != ratio) {
        m_buffer = QPixmap(size() * ratio);
        m_buffer.setDevicePixelRatio(ratio);
    }
    emit BeforePaint();
    m_tmrToolTip.setInterval(SystemHoverTime());
    const Look look = CurrentLook();
    if (!m_grad.isActive()) {
        m_shownText = TargetTextColor(look);
        m_shownBack = TargetBackColor(look);
    }
    QPainter painter(&m_buffer);
    painter.setFont(font());
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QRect r = rect();
    painter.fillRect(r, m_shownBack);
    if (look == Look::Pressed && m_standardPressedBack != 0) {
        // The classic checked-button dither: every other pixel in the highlight colour.
        painter.fillRect(r, ResolveOleColor(SystemColor::ButtonFace, palette()));
        painter.fillRect(r, QBrush(ResolveOleColor(SystemColor::ButtonHighlight, palette()),
                                   Qt::Dense4Pattern));
    }
    const QPixmap picture = DrawablePicture(look);
    if (!picture.isNull()) {
        const QSize pictureSize = picture.deviceIndependentSize().toSize();
        QPoint at = m_centerPicture ? QPoint((r.width() - pictureSize.width()) / 2,
                                             (r.height() - pictureSize.height()) / 2)
                                    : QPoint(m_customPictureX, m_customPictureY);
        if (look == Look::Pressed && m_showTextPressed)
            at += QPoint(1, 1);
        if (m_stretchPicture)
            painter.drawPixmap(r, picture);
        else
            painter.drawPixmap(at, picture);
    }
    DrawCaption(painter, look);
    DrawFlatBorder(painter, r, BorderStyleFor(look), palette());
    if (hasFocus() && m_showFocus != 0) {
        const int margin = FocusMargin();
        QPen pen(ResolveOleColor(SystemColor::ButtonText, palette()), 1, Qt::DotLine);
        painter.setPen(pen);
        painter.drawRect(r.adjusted(margin, margin, -margin - 1, -margin - 1));
    }
    emit PaintBuffer(&painter);
}

void XFlatButton::paintEvent(QPaintEvent*)
{
    if (m_painting)
        return;
    m_painting = true;
    RenderBuffer();
    {
        QPainter painter(this);
        painter.drawPixmap(QPoint(0, 0), m_buffer);
    }
    m_painting = false;
    emit Painted();
}

void XFlatButton::SetTEMPLATE(int style)
{
    m_template = style;
    switch (style) {
    case 1: // toolbar: flat until the pointer comes, as the player's transport buttons
        m_normalBorderStyle = 0;
        m_hoverBorderStyle = 4;
        m_pressedBorderStyle = 2;
        m_hoverColor = m_pressedColor = SystemColor::ButtonText;
        m_standardPressedBack = 0;
        break;
    case 2: // dark strip
        m_backColor = 0x202020;
        m_hoverBackColor = 0x383838;
        m_pressedBackColor = 0x101010;
        m_textColor = 0xE0E0E0;
        m_hoverColor = m_pressedColor = 0xFFFFFF;
        m_disabledColor = 0x707070;
        m_disabledEmbossed = false;
        m_normalBorderStyle = 0;
        m_hoverBorderStyle = m_pressedBorderStyle = 16;
        m_standardPressedBack = 0;
        break;
    case 3: // link: text only, coloured on hover
        m_normalBorderStyle = m_hoverBorderStyle = m_pressedBorderStyle = 0;
        m_hoverColor = m_pressedColor = SystemColor::HotLight;
        m_standardPressedBack = 0;
        break;
    default: // the system look a new button has
        m_template = 0;
        m_textColor = SystemColor::ButtonText;
        m_hoverColor = m_pressedColor = 0xFF0000;
        m_disabledColor = SystemColor::GrayText;
        m_disabledEmbossed = true;
        m_backColor = m_hoverBackColor = m_pressedBackColor = SystemColor::ButtonFace;
        m_standardPressedBack = 1;
        m_normalBorderStyle = m_hoverBorderStyle = 5;
        m_pressedBorderStyle = 10;
        break;
    }
    LookMayHaveChanged();
}
