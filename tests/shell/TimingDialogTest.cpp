#include "ShellFixture.h"

#include "controls/SpinBox.h"
#include "shell/frmDelay.h"
#include "shell/frmFramerate.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <limits>
#include <optional>

namespace {

// A dialog up as the menu shows it (modal, active, its box focused and selected), without the
// blocking loop, so the test can type into it and look at it afterwards.
template <typename D>
std::unique_ptr<D> Shown(std::optional<double> start = {}, std::vector<ShownMessage>* messages = {})
{
    auto dialog = std::make_unique<D>();
    if (messages) {
        dialog->SetMessageSink([messages](QMessageBox::Icon icon, const QString& text) {
            messages->push_back({icon, text});
        });
    }
    if (start)
        dialog->Init(*start);
    dialog->open();
    EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    QCoreApplication::processEvents();
    return dialog;
}

void TypeAndEnter(SpinBox* box, const QString& text)
{
    box->TextBox()->selectAll();
    QTest::keyClicks(box->TextBox(), text);
    QTest::keyClick(box->TextBox(), Qt::Key_Return);
}

} // namespace

TEST(TimingDialogTest, DelayFromTextRoundsHalvesToEvenAndRefusesWhatDoesNotFit)
{
    const struct {
        const char* text;
        int later;
        std::optional<int32_t> delay;
    } cases[] = {{"1.5", 1, 2}, {"2.5", 1, 2}, {"0.5", 0, 0}, {"250ms", 0, -250},
                 {"40", -1, -40}, // nothing chosen: earlier
                 {"", 1, 0}, {"later", 1, 0}, {"2147483647", 1, 2147483647},
                 {"2147483648", 0, std::numeric_limits<int32_t>::min()},
                 {"2147483648", 1, std::nullopt}, {"1e400", 1, std::nullopt}};
    for (const auto& c : cases)
        EXPECT_EQ(frmDelay::DelayFromText(QString::fromLatin1(c.text), c.later), c.delay) << c.text;
}

// Both dialogs: the keys answer from any control, and a click in the box selects the whole text
// once the click has placed the caret.
template <typename D>
void ExpectKeysAndClicksAsSpecified()
{
    auto d = Shown<D>();
    QLineEdit* box = d->txtTime->TextBox();
    QTest::keyClick(box, Qt::Key_Escape);
    EXPECT_FALSE(d->isVisible());
    EXPECT_TRUE(d->Canceled);

    auto again = Shown<D>(40);
    again->cmdCancel->setFocus();
    box = again->txtTime->TextBox();
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(2, box->height() / 2));
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), box);
    EXPECT_EQ(box->selectedText(), QStringLiteral("40"));
    // Enter on the focused Cancel button still means OK.
    again->cmdCancel->setFocus();
    QTest::keyClick(again->cmdCancel, Qt::Key_Return);
    EXPECT_FALSE(again->isVisible());
    EXPECT_FALSE(again->Canceled);
}

TEST(TimingDialogTest, KeysActWhereverTheFocusIsAClickSelectsAllAndTabReadsTheSentence)
{
    ExpectKeysAndClicksAsSpecified<frmDelay>();
    ExpectKeysAndClicksAsSpecified<frmFramerate>();

    auto d = Shown<frmDelay>();
    // The box has room for its seven characters beside its label.
    QLineEdit* box = d->txtTime->TextBox();
    EXPECT_GE(box->width(), box->fontMetrics().horizontalAdvance(QStringLiteral("0000000")));
    // Tab walks the sentence as it reads, then the buttons, and comes round to the box.
    box->setFocus();
    for (QWidget* next : std::vector<QWidget*>{d->cmbTime, d->cmdOK, d->cmdCancel, box}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next) << next->metaObject()->className();
    }
}

TEST(TimingDialogTest, FramerateOutsideOneToThousandIsRefusedWithTheFocusBackInTheBox)
{
    // Refused ones are clicked with the focus on OK, accepted ones typed and entered in the box.
    const struct {
        const char* typed;
        std::optional<double> rate;
    } cases[] = {{"0.5", {}}, {"1000.5", {}}, {"fps", {}}, {"", {}}, {"1e999", {}},
                 {"1", 1}, {"1000", 1000}, {"23.976", 23.976}, {"29.97abc", 29.97}};
    for (const auto& [typed, rate] : cases) {
        SCOPED_TRACE(typed);
        std::vector<ShownMessage> messages;
        auto d = Shown<frmFramerate>(25, &messages);
        if (rate) {
            TypeAndEnter(d->txtTime, QString::fromLatin1(typed));
            EXPECT_EQ(d->FramerateValue, *rate);
        } else {
            d->cmdOK->setFocus();
            d->txtTime->SetText(QString::fromLatin1(typed));
            QTest::mouseClick(d->cmdOK, Qt::LeftButton);
            EXPECT_EQ(d->focusWidget(), d->txtTime->TextBox());
        }
        EXPECT_EQ(d->isVisible(), !rate);
        EXPECT_EQ(d->Canceled, !rate);
        EXPECT_EQ(messages.size(), rate ? 0u : 1u);
    }
}

TEST(TimingDialogTest, FramerateBoxReadsBackItsNumberWhenTheFocusLeaves)
{
    // How text reads as a number is the lenient parser's, tested with it; here the read-back.
    auto d = Shown<frmFramerate>(0);
    for (const auto& [typed, shown] :
         {std::pair{"24fps", "24"}, {"frames", "0"}, {"1e999", "1e999"}}) {
        d->txtTime->setFocus();
        d->txtTime->SetText(QString::fromLatin1(typed));
        QTest::keyClick(d->txtTime->TextBox(), Qt::Key_Tab);
        EXPECT_EQ(d->txtTime->Text(), QString::fromLatin1(shown)) << typed;
    }
}
