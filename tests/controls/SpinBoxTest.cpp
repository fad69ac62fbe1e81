#include "controls/SpinBox.h"

#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace {

struct SpinFixture : ::testing::Test
{
    SpinFixture()
    {
        box.resize(200, 24);
        QObject::connect(&box, &SpinBox::Filtered,
                         [this](int removed) { log += "F" + std::to_string(removed); });
        QObject::connect(&box, &SpinBox::Change, [this] { log += "C"; });
        QObject::connect(&box, &SpinBox::SpinUp, [this] { log += "U"; });
        QObject::connect(&box, &SpinBox::SpinDown, [this] { log += "D"; });
        box.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&box));
    }
    void Type(const QString& keys) { QTest::keyClicks(box.TextBox(), keys); }
    void Spin(bool up) { QTest::mouseClick(up ? upButton() : downButton(), Qt::LeftButton); }
    QWidget* upButton() { return box.SpinButton()->findChildren<QWidget*>().at(0); }
    QWidget* downButton() { return box.SpinButton()->findChildren<QWidget*>().at(1); }
    SpinBox box;
    std::string log;
};

} // namespace

TEST_F(SpinFixture, NumberFiltersStripOrUndo)
{
    box.SetTextFormat(SpinBox::WholeNumber);
    box.SetFilterWhen(SpinBox::OnChange);
    box.SetText("12a3");
    EXPECT_EQ(box.Text(), "123");
    EXPECT_EQ(log, "F1C");

    box.SetFilterWhen(SpinBox::OnChangeOrUndo);
    box.SetText("45");
    log.clear();
    box.SetText("4x5y");
    EXPECT_EQ(box.Text(), "45"); // the last accepted text comes back
    EXPECT_EQ(log, "F2C");
    // Typed one key at a time, a bad key is simply refused and the caret stays put.
    box.TextBox()->setCursorPosition(1);
    Type("9z");
    EXPECT_EQ(box.Text(), "495");
    EXPECT_EQ(box.TextBox()->cursorPosition(), 2);

    // A decimal number keeps one kind of separator character.
    box.SetTextFormat(SpinBox::DecimalNumber);
    box.SetFilterWhen(SpinBox::OnChange);
    box.SetMaxNumber(0); // no range
    box.SetText("23,976 fps");
    EXPECT_EQ(box.Text(), "23976");
    box.SetText("-23.976");
    EXPECT_EQ(box.Text(), "23.976");
}

TEST_F(SpinFixture, AnyTextOnlyLosesLineBreaksAndTakesTheCase)
{
    box.SetText("Sub\r\ntitle");
    EXPECT_EQ(box.Text(), "Subtitle");
    box.SetLetterCase(SpinBox::Upper);
    box.SetText("12a3 x"); // refused whole: the filter would have changed it
    EXPECT_EQ(box.Text(), "Subtitle");
    box.SetFilterWhen(SpinBox::OnChange);
    box.SetText("12a3 x");
    EXPECT_EQ(box.Text(), "12A3 X");
    box.SetLetterCase(SpinBox::Lower);
    box.SetText("MiXeD\n");
    EXPECT_EQ(box.Text(), "mixed");
    box.SetMaxLength(7);
    box.SetText("12345678");
    EXPECT_EQ(box.Text(), "1234567");
}

// A range clamps what is typed and stops the spin; without one (both limits 0) nothing does.
TEST_F(SpinFixture, RangeClampsTypedNumbersAndStopsTheSpinUnlessBothLimitsAreZero)
{
    box.SetTextFormat(SpinBox::WholeNumber);
    box.SetFilterWhen(SpinBox::OnChange);
    box.SetMinNumber(1);
    box.SetMaxNumber(10);
    box.SetSpinButtonVisible(true);
    Type("25");
    EXPECT_EQ(box.Text(), "10");
    log.clear();
    Spin(true);
    EXPECT_EQ(box.Text(), "10");
    EXPECT_EQ(log, "F0U");
    Spin(false);
    EXPECT_EQ(box.Text(), "9");
    box.SetText("1");
    Spin(false);
    EXPECT_EQ(box.Text(), "1");
    Spin(true);
    EXPECT_EQ(box.Text(), "2");
    EXPECT_TRUE(box.TextBox()->hasFocus());

    box.SetTextFormat(SpinBox::AnyText);
    box.SetMinNumber(0);
    box.SetMaxNumber(0);
    box.SetText("0");
    Spin(true);
    EXPECT_EQ(box.Text(), "1");
    Spin(false);
    Spin(false);
    EXPECT_EQ(box.Text(), "-1");
    box.SetText("2.5");
    Spin(true);
    EXPECT_EQ(box.Text(), "3.5");
}
