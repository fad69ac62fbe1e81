#include "controls/nSlider.h"

#include <QTest>

#include <gtest/gtest.h>

namespace {

struct SliderFixture : ::testing::Test
{
    SliderFixture()
    {
        slider.resize(445, 20);
        slider.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&slider));
        // The slider's events as one ordered string.
        QObject::connect(&slider, &nSlider::Slide, [this] { log += "S"; });
        QObject::connect(&slider, &nSlider::Release, [this] { log += "R"; });
        QObject::connect(&slider, &nSlider::Change, [this] { log += "C"; });
    }
    nSlider slider;
    std::string log;
};

QColor PixelAt(QWidget& widget, QPoint point)
{
    return widget.grab().toImage().pixelColor(point);
}

} // namespace

TEST_F(SliderFixture, ValueIsClampedThumbSitsInsideTheBorderAndAClickCentresIt)
{
    slider.SetValue(1.7);
    EXPECT_EQ(slider.Value(), 1.0);
    slider.SetValue(-0.2);
    EXPECT_EQ(slider.Value(), 0.0);
    slider.SetValue(-1);
    EXPECT_EQ(slider.Value(), -1.0);
    slider.SetValue(-1);
    EXPECT_EQ(log, "CCC");

    // The thumb sits inside the sunken border; a click on the track centres it.
    slider.SetValue(0);
    EXPECT_EQ(slider.ThumbStart(), 2);
    slider.SetValue(1);
    EXPECT_EQ(slider.ThumbStart(), 403); // covers 403..443 of 445
    // Halfway lands on a half pixel (2 + 401 * 0.5 = 202.5) and rounds to even.
    slider.SetValue(0.5);
    EXPECT_EQ(slider.ThumbStart(), 202);

    // A click on the track jumps there centred, then slides and releases.
    slider.SetValue(0);
    log.clear();
    QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(300, 10));
    // The thumb (40 wide) centred on x=300.
    EXPECT_EQ(slider.ThumbStart(), 280);
    EXPECT_EQ(log, "CS");
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(300, 10));
    EXPECT_EQ(log, "CSR");

    // Near the end the jump clamps to 1 instead of running off the track.
    QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(444, 10));
    EXPECT_EQ(slider.Value(), 1.0);
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(444, 10));
    QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(0, 10));
    EXPECT_EQ(slider.Value(), 0.0);
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(0, 10));
}

TEST_F(SliderFixture, GrabbingTheThumbMovesNothingUntilTheMouseMoves)
{
    slider.SetValue(0.5); // thumb 202..242
    log.clear();
    QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(210, 10));
    EXPECT_EQ(slider.Value(), 0.5);
    EXPECT_EQ(log, "");

    // The grab point stays under the pointer: moving 50 pixels moves the thumb 50 pixels.
    QTest::mouseMove(&slider, QPoint(260, 10));
    EXPECT_EQ(slider.ThumbStart(), 252);
    EXPECT_EQ(log, "CS");
    // The same place again still slides, without a change.
    QTest::mouseMove(&slider, QPoint(260, 10));
    EXPECT_EQ(log, "CSS");
    // Far past the start the value holds at 0 and never becomes the hidden -1.
    QTest::mouseMove(&slider, QPoint(-400, 10));
    EXPECT_EQ(slider.Value(), 0.0);
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(-400, 10));
    EXPECT_EQ(log.back(), 'R');
}

TEST_F(SliderFixture, DisabledIgnoresPressAndMoveAndThumbAndFieldAreDrawnAsTheStateSays)
{
    slider.SetEnabled(false);
    QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(20, 10));
    QTest::mouseMove(&slider, QPoint(30, 10));
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(30, 10));
    EXPECT_EQ(slider.Value(), 0.5);
    EXPECT_EQ(log, "R");

    // Right and middle buttons never move it.
    slider.SetEnabled(true);
    QTest::mouseClick(&slider, Qt::RightButton, {}, QPoint(20, 10));
    QTest::mouseClick(&slider, Qt::MiddleButton, {}, QPoint(20, 10));
    EXPECT_EQ(slider.Value(), 0.5);
    EXPECT_EQ(log, "R");

    // Thumb and field are drawn as the state says.
    const QColor window = slider.palette().color(QPalette::Base);
    const QColor face = slider.palette().color(QPalette::Button);
    ASSERT_NE(window, face);
    slider.SetValue(0);
    EXPECT_EQ(PixelAt(slider, QPoint(20, 10)), face);    // on the thumb
    EXPECT_EQ(PixelAt(slider, QPoint(300, 10)), window); // on the field
    slider.SetValue(-1);
    EXPECT_EQ(PixelAt(slider, QPoint(20, 10)), window); // hidden thumb
    slider.SetEnabled(false);
    EXPECT_EQ(PixelAt(slider, QPoint(300, 10)), face); // disabled field greys
}
