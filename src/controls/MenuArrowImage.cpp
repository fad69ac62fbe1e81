#include "controls/MenuArrowImage.h"

#include <QPainter>
#include <QPolygon>

namespace {
constexpr int kSide = 16;
}

MenuArrowImage::MenuArrowImage(QWidget* parent) : QWidget(parent), picture_(kSide, kSide)
{
    setFixedSize(kSide, kSide);
    hide();
    picture_.fill(Qt::transparent);
    QPainter painter(&picture_);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette().color(QPalette::Active, QPalette::Text));
    // A small solid arrow head, centred, about a third of the item's height.
    painter.drawPolygon(QPolygon({QPoint(5, 4), QPoint(11, 8), QPoint(5, 12)}));
}

void MenuArrowImage::paintEvent(QPaintEvent*)
{
    QPainter(this).drawPixmap(0, 0, picture_);
}
