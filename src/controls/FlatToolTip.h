#pragma once

#include <QRect>
#include <QWidget>

// The flat button's own tooltip: a borderless topmost popup that never takes the focus, so
// showing it never steals keyboard input from the player.
class FlatToolTip : public QWidget
{
    Q_OBJECT

public:
    enum Appearance { FlatFrame = 0, RaisedFrame = 1 };

    FlatToolTip();

    void SetText(const QString& text);
    QString Text() const { return m_text; }
    void SetAppearance(int appearance);
    void ShowAt(const QPoint& topLeft);

    // Left edge at the pointer, top two pixels below the button; pulled left or up so that it
    // ends at least 7 pixels inside the screen's right and bottom edges.
    static QPoint Placement(const QPoint& pointer, const QRect& buttonOnScreen, const QSize& size,
                            const QRect& screen);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
    int m_appearance = RaisedFrame;
};
