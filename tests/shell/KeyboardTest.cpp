// The key table, the player's extra keys, and where the keys are seen.
#include "ShellFixture.h"

#include "controls/XFlatButton.h"

#include <QTest>

using modMain::Player;

namespace {
class KeyboardTest : public ShellTest {
protected:
    // A key as the user types it: to the full-screen window while it is up, else to whatever
    // has the focus in the main window.
    void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget* target = window->FullScreenWindow();
        if (!target)
            target = QApplication::focusWidget() ? QApplication::focusWidget() : window.get();
        QTest::keyClick(target, key, modifiers);
        QApplication::processEvents();
    }
};
} // namespace

// Ctrl+T follows the menu item, whatever other modifiers are held; Alt+Enter enters full screen
// only with media open, and Enter or Escape leave it. Playing, every key refreshes the window,
// handled or not; Space toggles playback even right after a click on a flat button; M, Z and X
// act alone or with Shift, as the mute button and the delay menu do; the arrows seek and set the
// volume.
TEST_F(KeyboardTest, KeysAsTheMenuItemsAndButtonsTheyStandFor)
{
    frmMain& idle = Start();
    Press(Qt::Key_Return, Qt::AltModifier);
    EXPECT_FALSE(Player().FullScreen()) << "nothing is open";
    Press(Qt::Key_F);
    EXPECT_FALSE(Player().FullScreen()) << "nothing is open";

    idle.mnuVideoAOT->setEnabled(false);
    Press(Qt::Key_T, Qt::ControlModifier);
    EXPECT_FALSE(idle.AOT());
    idle.mnuVideoAOT->setEnabled(true);
    Press(Qt::Key_T);
    EXPECT_FALSE(idle.AOT()) << "T alone is no shortcut";
    Press(Qt::Key_T, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_TRUE(idle.AOT());
    EXPECT_TRUE(idle.mnuVideoAOT->isChecked());
    Press(Qt::Key_T, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_FALSE(idle.AOT());
    // The switch is saved at once, as the menu command saves it.
    Press(Qt::Key_T, Qt::ControlModifier);
    EXPECT_EQ(InRegistry(QStringLiteral("AOT")), QVariant(true));
    Press(Qt::Key_T, Qt::ControlModifier);
    window.reset();
    UseFreshStore();
    frmMain& w = StartPlaying();
    for (Qt::KeyboardModifiers alone : {Qt::NoModifier, Qt::ShiftModifier, Qt::ControlModifier}) {
        Press(Qt::Key_Return, alone);
        Press(Qt::Key_Enter, alone);
        EXPECT_FALSE(Player().FullScreen()) << "Enter without Alt never enters";
    }
    Press(Qt::Key_Return, Qt::AltModifier | Qt::ControlModifier);
    ASSERT_TRUE(Player().FullScreen());
    EXPECT_TRUE(w.mnuVideoFull->isChecked());
    ASSERT_TRUE(w.FullScreenWindow());
    // Keys typed in full screen reach the same handler: Space pauses there.
    Press(Qt::Key_Space);
    EXPECT_TRUE(WaitUntil([] { return Player().Status() == 3; }));
    Press(Qt::Key_Escape, Qt::ShiftModifier);
    EXPECT_FALSE(Player().FullScreen());
    EXPECT_FALSE(w.mnuVideoFull->isChecked());
    EXPECT_TRUE(WaitUntil([&] { return w.FullScreenWindow() == nullptr; }));
    Press(Qt::Key_Escape);
    EXPECT_FALSE(Player().FullScreen()) << "Escape outside full screen does nothing";

    Press(Qt::Key_Return, Qt::AltModifier);
    ASSERT_TRUE(Player().FullScreen());
    Press(Qt::Key_Return, Qt::AltModifier);
    EXPECT_FALSE(Player().FullScreen()) << "Enter leaves whatever the modifiers";
    Press(Qt::Key_F);
    EXPECT_TRUE(Player().FullScreen());
    Press(Qt::Key_F);
    EXPECT_FALSE(Player().FullScreen());

    Press(Qt::Key_Space, Qt::ShiftModifier);
    ASSERT_TRUE(WaitUntil([] { return Player().Status() == 4; }));
    w.mnuVideoFull->setEnabled(false);
    w.cmdPlay->SetEnabled(true);
    Press(Qt::Key_Q);
    EXPECT_TRUE(w.mnuVideoFull->isEnabled());
    EXPECT_FALSE(w.cmdPlay->Enabled());
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    // The click mutes and leaves the focus on the button, which takes Space as a click of its
    // own; the window sees Space first, so playback pauses and the sound stays off.
    QTest::mouseClick(w.cmdMute, Qt::LeftButton);
    ASSERT_TRUE(Player().Mute());
    ASSERT_EQ(QApplication::focusWidget(), w.cmdMute);
    Press(Qt::Key_Space);
    EXPECT_TRUE(WaitUntil([] { return Player().Status() == 3; }));
    EXPECT_TRUE(w.cmdMute->ToggleStatePressed());

    Press(Qt::Key_M);
    EXPECT_FALSE(w.cmdMute->ToggleStatePressed());
    EXPECT_FALSE(Player().Mute());
    EXPECT_EQ(w.cmdMute->Picture().cacheKey(), w.imgSound.cacheKey());
    Press(Qt::Key_M, Qt::AltModifier);
    EXPECT_FALSE(Player().Mute()) << "Alt+M belongs to the menus";
    Press(Qt::Key_M, Qt::ShiftModifier);
    EXPECT_TRUE(w.cmdMute->ToggleStatePressed());
    EXPECT_TRUE(Player().Mute());
    EXPECT_EQ(w.cmdMute->Picture().cacheKey(), w.imgSoundMute.cacheKey());

    Press(Qt::Key_Z);
    Press(Qt::Key_Z, Qt::ShiftModifier);
    Press(Qt::Key_X);
    EXPECT_EQ(w.SubReader().delay, -250);
    Press(Qt::Key_X, Qt::ControlModifier);
    Press(Qt::Key_Z, Qt::AltModifier);
    EXPECT_EQ(w.SubReader().delay, -250) << "Ctrl and Alt belong to the menus and the desktop";

    // The arrows seek and set the volume through the slider; Space above paused the player.
    Player().SetPosition(4.0);
    ASSERT_TRUE(WaitUntil([] { return std::abs(Player().Position() - 4.0) < 0.1; }));
    Press(Qt::Key_Right);
    EXPECT_TRUE(WaitUntil([] { return std::abs(Player().Position() - 9.0) < 0.1; }))
        << Player().Position();
    Press(Qt::Key_Right);
    EXPECT_TRUE(WaitUntil([] { return Player().Position() > 9.5; })) << "not beyond the end";
    EXPECT_LE(Player().Position(), Player().Duration());
    Player().SetPosition(3.0);
    ASSERT_TRUE(WaitUntil([] { return std::abs(Player().Position() - 3.0) < 0.1; }));
    Press(Qt::Key_Left);
    EXPECT_TRUE(WaitUntil([] { return Player().Position() < 0.1; })) << "not before the start";
    Press(Qt::Key_Right, Qt::ControlModifier);
    EXPECT_FALSE(WaitUntil([] { return Player().Position() >= 0.1; }, 200))
        << "Ctrl+Right is not a seek";

    ASSERT_EQ(Player().Volume(), 50);
    Press(Qt::Key_Up);
    EXPECT_EQ(Player().Volume(), 55);
    EXPECT_EQ(InRegistry(QStringLiteral("VOLUME")).toInt(), 55) << "saved at once";
    for (int i = 0; i < 30; ++i)
        Press(Qt::Key_Down);
    EXPECT_EQ(Player().Volume(), 0);
    Press(Qt::Key_Up);
    EXPECT_EQ(StoredAfterShutdown(QStringLiteral("VOLUME")).toInt(), 5);
}
