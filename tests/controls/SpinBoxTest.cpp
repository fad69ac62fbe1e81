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
        box.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&box));
    }
    SpinBox box;
    std::string log;
};

} // namespace

// As the player's value dialogs set it up: no range, filtered as the text changes, and a text
// the filter would change is refused whole.
TEST_F(SpinFixture, DecimalNumberRefusesWhatIsNotANumberAndAnyTextOnlyLosesLineBreaks)
{
    box.SetTextFormat(SpinBox::DecimalNumber);
    box.SetMinNumber(0);
    box.SetMaxNumber(0);
    box.SetText("23.976");
    log.clear();
    box.SetText("2x3.9y");
    EXPECT_EQ(box.Text(), "23.976"); // the last accepted text comes back
    EXPECT_EQ(log, "F2C");
    box.SetText("-1");
    EXPECT_EQ(box.Text(), "23.976");
    // Typed one key at a time, a bad key is simply refused and the caret stays put.
    box.TextBox()->setCursorPosition(1);
    QTest::keyClicks(box.TextBox(), "5z");
    EXPECT_EQ(box.Text(), "253.976");
    EXPECT_EQ(box.TextBox()->cursorPosition(), 2);

    box.SetTextFormat(SpinBox::AnyText);
    box.SetText("Sub\r\ntitle");
    EXPECT_EQ(box.Text(), "Subtitle");
    box.SetMaxLength(7);
    box.SetText("12345678");
    EXPECT_EQ(box.Text(), "1234567");
}
