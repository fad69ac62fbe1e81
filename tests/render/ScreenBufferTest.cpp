#include "FakeDrawObject.h"
#include "render/ScreenBuffer.h"

#include <gtest/gtest.h>

namespace {

constexpr long kRed = 0x0000FF;
constexpr long kGreen = 0x00FF00;
constexpr long kBlue = 0xFF0000;
constexpr long kWhite = 0xFFFFFF;

bool AllPixels(const ScreenBuffer& surface, long color)
{
    for (int y = 0; y < surface.Height(); ++y)
        for (int x = 0; x < surface.Width(); ++x)
            if (surface.Pixel(x, y) != color)
                return false;
    return true;
}

}   // namespace

TEST(ScreenBuffer, CreateGivesABlackSurfaceOfTheClientSizeWithWhiteText)
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
}

TEST(ScreenBuffer, ClearAndFlipDefaultToTheWindowsPresentSizeAtTheOrigin)
{
    FakeDrawObject target(QSize(40, 30));
    ScreenBuffer surface;
    surface.Create(&target);
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

TEST(ScreenBuffer, CachePicAcceptsAPictureOnceAndNeverAnEmptyOne)
{
    ScreenBuffer surface;
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    EXPECT_TRUE(surface.CachePic(picture));
    EXPECT_FALSE(surface.CachePic(picture));
    EXPECT_FALSE(surface.CachePic(QImage()));
}

TEST(ScreenBuffer, FontsAreMadeFromPointsAndReadBackAsPixels)
{
    FakeDrawObject target(QSize(10, 10));
    ScreenBuffer surface;
    surface.Create(&target);
    EXPECT_THROW(surface.GetFont(), ScreenBufferError) << "no font yet";
    FontDesc font;
    font.Size = 12.4;   // rounded to whole points first
    font.Italic = true;
    font.Weight = 700;
    surface.SetFont(font);
    const FontDesc back = surface.GetFont();
    const int dpi = target.Widget()->logicalDpiY();
    EXPECT_EQ(back.Size, (12 * dpi + 36) / 72);
    EXPECT_TRUE(back.Italic);
    EXPECT_EQ(back.Weight, 700);
    EXPECT_EQ(back.Name, "Arial");
}

TEST(ScreenBuffer, ShapesLandOnTheirPixels)
{
    FakeDrawObject target(QSize(60, 60));
    ScreenBuffer surface;
    surface.Create(&target);

    surface.DrawFilledRect(10, 10, 20, 15, kRed);
    EXPECT_EQ(surface.Pixel(10, 10), kRed);
    EXPECT_EQ(surface.Pixel(19, 14), kRed);
    EXPECT_EQ(surface.Pixel(20, 14), 0);   // right and bottom edges excluded
    EXPECT_EQ(surface.Pixel(19, 15), 0);

    surface.DrawFilledRect(30, 30, 32, 32, -1);   // -1 is the text colour
    EXPECT_EQ(surface.Pixel(31, 31), kWhite);

    surface.DrawRect(40, 40, 50, 50, kGreen);
    EXPECT_EQ(surface.Pixel(40, 40), kGreen);
    EXPECT_EQ(surface.Pixel(50, 50), kGreen);
    EXPECT_EQ(surface.Pixel(45, 45), 0);

    surface.DrawCircle(30, 10, 6, kBlue);
    EXPECT_EQ(surface.Pixel(30, 10), 0);
    EXPECT_EQ(surface.Pixel(36, 10), kBlue);

    surface.DrawGradientRect(0, 50, 60, 40, kRed, kBlue, 0);
    EXPECT_GE(ScreenBuffer::ToColor(surface.Pixel(0, 55)).red(), 245);
    EXPECT_GE(ScreenBuffer::ToColor(surface.Pixel(39, 55)).blue(), 245);
    EXPECT_EQ(surface.Pixel(40, 55), 0);
    const QColor middle = ScreenBuffer::ToColor(surface.Pixel(20, 55));
    EXPECT_NEAR(middle.red(), 128, 10);
    EXPECT_NEAR(middle.blue(), 128, 10);
}

TEST(ScreenBuffer, PicturesAreDrawnWithTheirKeyColourLeftOut)
{
    FakeDrawObject target(QSize(20, 20));
    ScreenBuffer surface;
    surface.Create(&target);
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(ScreenBuffer::ToColor(kGreen));
    picture.setPixelColor(0, 0, ScreenBuffer::ToColor(kRed));

    surface.Blt(picture, 2, 2, 0, 0, false, kGreen);
    EXPECT_EQ(surface.Pixel(2, 2), kRed);
    EXPECT_EQ(surface.Pixel(3, 3), 0);

    surface.SetForeColor(kBlue);
    surface.Blt(picture, 10, 10, 0, 0, false, kGreen, true);
    EXPECT_EQ(surface.Pixel(10, 10), kBlue);
    EXPECT_EQ(surface.Pixel(11, 11), 0);

    surface.Blt(picture, 0, 12, 8, 8, true);   // stretched to twice the size
    EXPECT_EQ(surface.Pixel(1, 13), kRed);
    EXPECT_EQ(surface.Pixel(7, 19), kGreen);

    QImage tinted = picture;
    ScreenBuffer::TintBitmap(tinted, 1.0f, 0.5f, 1.0f);
    EXPECT_EQ(tinted.pixelColor(1, 1), QColor(0, 128, 0));
    EXPECT_EQ(tinted.pixelColor(0, 0), QColor(255, 0, 0));
}

TEST(ScreenBuffer, TextIsCentredOnItsPointInTheGivenColour)
{
    FakeDrawObject target(QSize(200, 60));
    ScreenBuffer surface;
    surface.Create(&target);
    FontDesc font;
    font.Size = 14;
    surface.SetFont(font);
    surface.DrawText(100, 30, QStringLiteral("MMMM"), kRed, ScreenBuffer::AlignCenter);
    EXPECT_EQ(surface.ForeColor(), kRed);
    int left = 200, right = -1, top = 60, bottom = -1;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 200; ++x)
            if (surface.Pixel(x, y) != 0) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    ASSERT_GE(right, 0);
    EXPECT_NEAR((left + right) / 2.0, 100, 3);
    EXPECT_NEAR((top + bottom) / 2.0, 30, 6);
}
