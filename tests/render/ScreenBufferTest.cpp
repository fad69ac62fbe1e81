#include "render/DrawObject.h"
#include "render/ScreenBuffer.h"

#include <QWidget>

#include <gtest/gtest.h>

namespace {

constexpr long kRed = 0x0000FF;
constexpr long kGreen = 0x00FF00;
constexpr long kWhite = 0xFFFFFF;

// A draw object whose client size the test sets and whose presented pictures it keeps.
class FakeDrawObject : public DrawObject {
public:
    explicit FakeDrawObject(QSize size) : size_(size) {}
    QWidget* Widget() override { return &widget_; }
    QSize ClientSize() const override { return size_; }
    void Present(const QImage& picture, const QRect& rect) override
    {
        shown = QImage(size_, QImage::Format_RGB32);
        shown.fill(Qt::magenta);
        presentedRect = rect;
        for (int y = 0; y < std::min(rect.height(), picture.height()); ++y)
            for (int x = 0; x < std::min(rect.width(), picture.width()); ++x)
                if (shown.valid(x, y))
                    shown.setPixel(x, y, picture.pixel(x, y));
    }
    void Resize(QSize size) { size_ = size; }

    QImage shown;
    QRect presentedRect;

private:
    QSize size_;
    QWidget widget_;
};

bool AllPixels(const ScreenBuffer& surface, long color)
{
    for (int y = 0; y < surface.Height(); ++y)
        for (int x = 0; x < surface.Width(); ++x)
            if (surface.Pixel(x, y) != color)
                return false;
    return true;
}

}   // namespace

TEST(ScreenBuffer, CreateGivesABlackSurfaceAndClearAndFlipDefaultToTheWindowsSize)
{
    FakeDrawObject target(QSize(40, 30));
    ScreenBuffer surface;
    EXPECT_EQ(surface.hDC(), nullptr);
    surface.Create(&target);
    EXPECT_EQ(surface.Width(), 40);
    EXPECT_EQ(surface.Height(), 30);
    EXPECT_TRUE(AllPixels(surface, 0));
    EXPECT_EQ(surface.ForeColor(), kWhite);
    ASSERT_NE(surface.hDC(), nullptr);
    // Colours are blue-green-red: red is the low byte.
    EXPECT_EQ(ScreenBuffer::ToColor(kRed), QColor(255, 0, 0));
    EXPECT_EQ(surface.Pixel(40, 0), 0xFFFFFFFFL);
    EXPECT_EQ(surface.Pixel(-1, 5), 0xFFFFFFFFL);

    // Clear and Flip default to the window's present size, at the origin.
    target.Resize(QSize(20, 10));   // the window shrank after Create; the surface did not
    surface.Clear(kRed);
    EXPECT_EQ(surface.Pixel(19, 9), kRed);
    EXPECT_EQ(surface.Pixel(20, 9), 0);
    EXPECT_EQ(surface.Pixel(19, 10), 0);
    surface.Clear(kGreen, 5, 0);
    EXPECT_EQ(surface.Pixel(4, 9), kGreen);
    EXPECT_EQ(surface.Pixel(5, 9), kRed);

    surface.Flip();
    EXPECT_EQ(target.presentedRect, QRect(0, 0, 20, 10));
    EXPECT_EQ(ScreenBuffer::FromColor(target.shown.pixelColor(0, 0)), kGreen);
    surface.Flip(3, 2);
    EXPECT_EQ(target.presentedRect, QRect(0, 0, 3, 2));
    EXPECT_EQ(target.shown.pixelColor(3, 0), QColor(Qt::magenta));
}
