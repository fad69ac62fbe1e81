#pragma once

#include "render/DrawObject.h"

#include <QImage>
#include <QWidget>

// The overlay window the subtitles are drawn in: borderless, outside the task bar, above other
// windows, its background the key colour RGB(1, 1, 0) that shows the video through.
class frmSubtitle : public QWidget, public DrawObject {
public:
    static constexpr long kKeyColor = 0x000101;
    static constexpr long kTextColor = 0xFFFFFF;

    frmSubtitle();

    QWidget* Widget() override { return this; }
    QSize ClientSize() const override { return size(); }
    void Present(const QImage& picture, const QRect& rect) override;
    // What the window shows now.
    const QImage& Shown() const { return shown_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool sameAsShown(const QImage& picture, const QRect& rect) const;

    QImage shown_;
};
