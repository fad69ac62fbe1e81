#include "ShellFixture.h"

#include "mediagen/TestMatroska.h"

#include "controls/SpinBox.h"
#include "shell/frmDelay.h"
#include "shell/frmFramerate.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <limits>

using modMain::Player;

namespace {

constexpr int32_t kMinDelay = std::numeric_limits<int32_t>::min();
constexpr int32_t kMaxDelay = std::numeric_limits<int32_t>::max();

// Runs `act` on the dialog a menu item opens, once it is active.
template <typename D>
void InDialog(QAction* item, std::function<void(D&)> act)
{
    WhenModal<D>([act](D& dialog) {
        EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
        QCoreApplication::processEvents(); // the select-on-focus step runs queued
        act(dialog);
    });
    item->trigger();
}

} // namespace

// The timing submenus follow Close; the delay steps add up and stop at the ends of 32 bits.
TEST_F(ShellTest, MenusFollowCloseAndStepTheDelayAndSetTheRate)
{
    frmMain& w = Start();
    const QList<QAction*> items = w.mnuSubtitles->actions();
    const qsizetype close = items.indexOf(w.mnuSubtitlesClose);
    ASSERT_TRUE(close >= 0 && items.size() > close + 6);
    EXPECT_EQ(items.mid(close + 1, 4),
              QList<QAction*>({w.mnuSubtitlesDelay->menuAction(),
                               w.mnuSubtitleFramerate->menuAction(), w.mnuSubtitlesSync,
                               w.mnuSubtitlesSaveSynced}));
    EXPECT_TRUE(items[close + 5]->isSeparator());
    EXPECT_EQ(items[close + 6], w.mnuSubtitlesAutoOpen);

    SubtitleReader& reader = w.SubReader();
    // Items 1 to 6: -250, +250, -500, +500, -1 s, +1 s; 0 is none, 7 the separator.
    const struct {
        int32_t before;
        int item;
        int32_t after;
    } steps[] = {{500, 4, 1000}, {1000, 3, 500}, {500, 0, 0}, {0, 7, 0},
                 {kMaxDelay - 100, 2, kMaxDelay - 100}, {kMaxDelay - 100, 6, kMaxDelay - 100},
                 {kMaxDelay - 100, 1, kMaxDelay - 350}, {kMinDelay + 999, 5, kMinDelay + 999},
                 {kMinDelay + 999, 3, kMinDelay + 499}};
    for (const auto& step : steps) {
        reader.delay = step.before;
        w.mnuSubtitlesDelayOption[step.item]->trigger();
        EXPECT_EQ(reader.delay, step.after) << step.before << ", item " << step.item;
    }

    // Only "Same as video" also undoes the speed the audio synchronisation set.
    reader.Rate = 0.96;
    w.mnuSubtitleFramerateOption[4]->trigger();
    EXPECT_EQ(reader.Rate, 0.96);
    w.mnuSubtitleFramerateOption[0]->trigger();
    EXPECT_EQ(reader.Rate, 1.0);
    // Nothing to listen to and nothing to line up: the assistant is not offered.
    EXPECT_FALSE(w.mnuSubtitlesSync->isEnabled());
    EXPECT_FALSE(w.mnuSubtitlesSaveSynced->isEnabled());
}

// The dialog starts from the delay in force, as a magnitude and a direction; Enter keeps it and
// Escape changes nothing, whatever was typed. A delay beyond 32 bits is refused, not wrapped.
TEST_F(ShellTest, DelayDialogStartsFromTheDelayInForceAndRefusesWhatDoesNotFit)
{
    frmMain& w = Start();
    QAction* setDelay = w.mnuSubtitlesDelayOption[8];
    w.SubReader().delay = -750;
    InDialog<frmDelay>(setDelay, [](frmDelay& d) {
        EXPECT_EQ(d.txtTime->Text(), QStringLiteral("750"));
        EXPECT_EQ(d.cmbTime->currentIndex(), 0);
        EXPECT_EQ(d.txtTime->TextBox()->selectedText(), QStringLiteral("750"));
        QTest::keyClick(d.txtTime->TextBox(), Qt::Key_Enter);
    });
    EXPECT_EQ(w.SubReader().delay, -750);
    w.SubReader().delay = 300;
    InDialog<frmDelay>(setDelay, [](frmDelay& d) {
        EXPECT_EQ(d.cmbTime->currentIndex(), 1);
        QTest::keyClicks(d.txtTime->TextBox(), QStringLiteral("999"));
        d.cmbTime->setCurrentIndex(0);
        QTest::keyClick(d.cmbTime, Qt::Key_Escape);
    });
    EXPECT_EQ(w.SubReader().delay, 300);

    w.SubReader().delay = kMinDelay;
    InDialog<frmDelay>(setDelay, [](frmDelay& d) {
        // The most negative delay has no 32-bit magnitude; it is shown whole all the same.
        EXPECT_EQ(d.txtTime->Text(), QStringLiteral("2147483648"));
        QTest::keyClick(d.txtTime->TextBox(), Qt::Key_Return);
    });
    EXPECT_EQ(w.SubReader().delay, kMinDelay);
    EXPECT_TRUE(messages.empty());
    // Refused, the dialog stays open (as the frame-rate dialog's test shows) for Escape.
    InDialog<frmDelay>(setDelay, [](frmDelay& d) {
        d.cmbTime->setCurrentIndex(1);
        QTest::keyClick(d.txtTime->TextBox(), Qt::Key_Return);
        QTest::keyClick(d.txtTime->TextBox(), Qt::Key_Escape);
    });
    EXPECT_EQ(w.SubReader().delay, kMinDelay);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, QStringLiteral("Please enter a valid delay."));
}

// The custom frame rate starts from the override in force, else the video's own rate, which is
// 0 for a video without one; a cancelled dialog changes nothing.
TEST_F(ShellTest, CustomFramerateStartsFromTheOverrideOrTheVideosRate)
{
    const QString avi = Video(QStringLiteral("clip.avi"), 50);
    const QString mkv = dir.filePath(QStringLiteral("clip.mkv"));
    ASSERT_TRUE(WriteTestMatroska(avi, mkv));
    frmMain& w = Start(avi);
    QAction* customRate = w.mnuSubtitleFramerateOption[7];
    const auto sameAsVideo = [&] {
        EXPECT_GE(Player().Status(), 2);
        w.mnuSubtitleFramerate->popup(QPoint(0, 0));
        w.mnuSubtitleFramerate->hide();
        return w.mnuSubtitleFramerateOption[0]->text();
    };
    EXPECT_EQ(sameAsVideo(), QStringLiteral("&Same as video (25fps)"));
    InDialog<frmFramerate>(customRate, [](frmFramerate& d) {
        EXPECT_EQ(d.txtTime->Text(), QStringLiteral("25"));
        d.cmdCancel->click();
    });
    EXPECT_EQ(w.SubReader().FPS, 0);
    w.mnuSubtitleFramerateOption[2]->trigger();
    InDialog<frmFramerate>(customRate, [](frmFramerate& d) {
        EXPECT_EQ(d.txtTime->Text(), QStringLiteral("23.976"));
        QTest::keyClicks(d.txtTime->TextBox(), QStringLiteral("1000"));
        QTest::keyClick(d.txtTime->TextBox(), Qt::Key_Enter);
    });
    EXPECT_EQ(w.SubReader().FPS, 1000);

    w.mnuSubtitleFramerateOption[0]->trigger();
    w.OpenFile(mkv);
    EXPECT_EQ(sameAsVideo(), QStringLiteral("&Same as video"));
    InDialog<frmFramerate>(customRate, [](frmFramerate& d) {
        EXPECT_EQ(d.txtTime->Text(), QStringLiteral("0"));
        QTest::keyClick(d.txtTime->TextBox(), Qt::Key_Return); // refused: 0 is no frame rate
        QTest::keyClick(d.txtTime->TextBox(), Qt::Key_Escape);
    });
    EXPECT_EQ(w.SubReader().FPS, 0);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, QStringLiteral("Please enter a valid framerate."));
}
