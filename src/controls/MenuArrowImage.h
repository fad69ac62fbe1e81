#pragma once

#include <QPixmap>
#include <QWidget>

// An image control that is never shown: it holds the small arrow a menu shows beside the item
// in use, in place of a tick, drawn in the text colour of the application's palette.
class MenuArrowImage : public QWidget {
    Q_OBJECT

public:
    explicit MenuArrowImage(QWidget* parent = nullptr);

    // 16 x 16, transparent around an arrow pointing right at the item's caption.
    QPixmap Picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap picture_;
};
