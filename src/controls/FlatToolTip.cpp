#include "controls/FlatToolTip.h"

#include "controls/EdgePainter.h"
#include "controls/OleColor.h"

#include <QApplication>
#include <QPainter>
#include <QToolTip>

FlatToolTip::FlatToolTip()
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint
                           | Qt::WindowDoesNotAcceptFocus)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setFont(QToolTip::font());
}

void FlatToolTip::SetText(const QString& text)
{
    m_text = text;
    const QFontMetrics metrics(font());
    resize(metrics.horizontalAdvance(text) + 8, metrics.height() + 8);
    update();
}

void FlatToolTip::SetAppearance(int appearance)
{
    m_appearance = appearance;
    update();
}

void FlatToolTip::ShowAt(const QPoint& topLeft)
{
    move(topLeft);
    show();
    raise();
}

QPoint FlatToolTip::Placement(const QPoint& pointer, const QRect& buttonOnScreen,
                              const QSize& size, const QRect& screen)
{
    QPoint at(pointer.x(), buttonOnScreen.bottom() + 1 + 2);
    const int right = screen.right() + 1 - 7;
    const int bottom = screen.bottom() + 1 - 7;
    if (at.x() + size.width() > right)
        at.setX(right - size.width());
    if (at.y() + size.height() > bottom)
        at.setY(bottom - size.height());
    return at;
}

void FlatToolTip::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QPalette& pal = QToolTip::palette();
    painter.fillRect(rect(), ResolveOleColor(SystemColor::InfoBackground, pal));
    if (m_appearance == FlatFrame)
        DrawFrame(painter, rect(), ResolveOleColor(SystemColor::WindowFrame, pal));
    else
        DrawEdge(painter, rect(), Edge::RaisedOuter, pal, true);
    painter.setPen(ResolveOleColor(SystemColor::InfoText, pal));
    painter.drawText(rect(), Qt::AlignCenter, m_text);
}
