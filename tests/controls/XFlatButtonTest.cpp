#include "controls/XFlatButton.h"

#include <QApplication>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

struct ButtonFixture : ::testing::Test
{
    ButtonFixture()
    {
        form.resize(300, 200);
        button = new XFlatButton(&form);
        button->setGeometry(10, 10, 120, 40);
        button->SetText("Play");
        form.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
        // The button's events as one ordered string.
        QObject::connect(button, &XFlatButton::MouseDown, [this](auto...) { log += "D"; });
        QObject::connect(button, &XFlatButton::MouseUp, [this](auto...) { log += "U"; });
        QObject::connect(button, &XFlatButton::Click, [this] { log += "C"; });
        QObject::connect(button, &XFlatButton::ToggleChanged,
                         [this](bool down) { log += down ? "T" : "t"; });
        QObject::connect(button, &XFlatButton::Hover, [this] { log += "H"; });
        QObject::connect(button, &XFlatButton::StopHover, [this] { log += "h"; });
    }
    QWidget form;
    XFlatButton* button = nullptr;
    std::string log;
};

int CountPixels(const QImage& image, const QColor& color)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y) == color;
    return count;
}

} // namespace

// Down, up and click in order; the right button does not click, a release away from the button
// abandons the press, and a disabled button stays silent.
TEST_F(ButtonFixture, MouseAndSpaceRaiseTheirEventsOnlyWhenAllowed)
{
    const QPoint at(20, 20);
    QTest::mouseClick(button, Qt::LeftButton, {}, at);
    EXPECT_EQ(log, "HDUC");
    log.clear();
    QTest::mouseClick(button, Qt::RightButton, {}, at);
    EXPECT_EQ(log, "DU");
    log.clear();
    QTest::mousePress(button, Qt::LeftButton, {}, at);
    EXPECT_EQ(button->CurrentLook(), XFlatButton::Look::Pressed);
    QTest::mouseMove(button, QPoint(200, 20));
    EXPECT_EQ(button->CurrentLook(), XFlatButton::Look::Normal);
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(200, 20));
    EXPECT_EQ(log.find('C'), std::string::npos);

    log.clear();
    button->setFocus();
    QTest::keyPress(button, Qt::Key_Space);
    EXPECT_EQ(button->CurrentLook(), XFlatButton::Look::Pressed);
    QTest::keyRelease(button, Qt::Key_Space);
    EXPECT_EQ(log, "C");

    log.clear();
    button->SetEnabled(false);
    QTest::mouseClick(button, Qt::LeftButton, {}, at);
    EXPECT_EQ(log, "");
}

TEST_F(ButtonFixture, ToggleStaysDownUntilClickedAgain)
{
    button->SetTogglable(true);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_TRUE(button->ToggleStatePressed());
    QEvent leave(QEvent::Leave); // as when the pointer leaves for another widget of the window
    QApplication::sendEvent(button, &leave);
    EXPECT_EQ(button->CurrentLook(), XFlatButton::Look::Pressed);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_FALSE(button->ToggleStatePressed());
    EXPECT_EQ(log, "HDTUChHDtUC");
}

// How soon the hover ends is measured by the controls benchmark; here only that it ends.
TEST_F(ButtonFixture, HoverEndsWithoutAMoveEvent)
{
    QWidget* under = button;
    button->SetPointerProbe([&under] { return under; });
    // Qt drops a move to where the pointer already is, and the last test may have left it there.
    QTest::mouseMove(button, QPoint(21, 21));
    QTest::mouseMove(button, QPoint(20, 20));
    EXPECT_EQ(log, "H");
    QSignalSpy stopped(button, &XFlatButton::StopHover);
    EXPECT_FALSE(stopped.wait(120)); // still under the pointer
    under = &form; // the pointer left too fast for any move event to reach the button
    ASSERT_TRUE(stopped.wait(500));
    EXPECT_EQ(log, "Hh");
    EXPECT_EQ(button->CurrentLook(), XFlatButton::Look::Normal);
}

TEST_F(ButtonFixture, DisabledCaptionIsFlatOrEmbossed)
{
    QFont big = button->font();
    big.setPixelSize(24);
    button->SetFont(big);
    button->SetText("WMW");
    button->SetBackColor(0);
    button->SetDisabledColor(0xE0E0E0);
    button->SetNormalBorderStyle(0);
    button->SetEnabled(false);
    button->SetDisabledEmbossed(false);
    const QImage flat = button->grab().toImage();
    EXPECT_EQ(CountPixels(flat, Qt::white), 0);
    EXPECT_GT(CountPixels(flat, QColor(0xE0, 0xE0, 0xE0)), 20);
    button->SetDisabledEmbossed(true);
    EXPECT_GT(CountPixels(button->grab().toImage(), Qt::white), 20);
}

TEST_F(ButtonFixture, PictureWithTheKeyColourLeftOutStandsInWhenPressed)
{
    QPixmap normal(16, 16);
    normal.fill(QColor(255, 0, 255));
    QPainter(&normal).fillRect(4, 4, 8, 8, Qt::black);
    button->SetText(QString());
    button->SetBackColor(0x00FF00);
    button->SetNormalBorderStyle(0);
    button->SetPicture(normal);
    const QPoint centre(60, 20), keyed(60 - 6, 20 - 6); // the picture spans 52..67 x 12..27
    QImage image = button->grab().toImage();
    EXPECT_EQ(image.pixelColor(centre), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(keyed), QColor(255, 0, 255));
    button->SetTransparentColor(0xFF00FF);
    button->SetTransparency(true);
    image = button->grab().toImage();
    EXPECT_EQ(image.pixelColor(keyed), QColor(0, 255, 0));
    button->ShowPressed(true); // no pressed picture: the normal one stands in
    EXPECT_EQ(button->grab().toImage().pixelColor(centre + QPoint(1, 1)), QColor(Qt::black));
}
