#include "shell/frmFullScreen.h"

#include "media/MediaPlayerController.h"
#include "platform/ActiveWindow.h"
#include "shell/frmMain.h"
#include "shell/modMain.h"

#include <QApplication>
#include <QKeyEvent>

frmFullScreen::frmFullScreen(frmMain& owner)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), owner_(owner)
{
    setWindowTitle(modMain::kAppTitle);
    setAutoFillBackground(true);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setFocusPolicy(Qt::StrongFocus);
    // Full-screen state, not just the screen's size: the window manager then also covers its
    // panels and keeps this window above them.
    setWindowState(Qt::WindowFullScreen);
    winId();
    KeepOutOfTaskBar(windowHandle());
    tmrCheck_.setInterval(25);
    connect(&tmrCheck_, &QTimer::timeout, this, &frmFullScreen::tmrCheck_Timer);
    tmrCheck_.start();
}

void frmFullScreen::tmrCheck_Timer()
{
    if (isVisible() && ActiveWindowOwnerNow() == ActiveWindowOwner::OtherProgram) {
        modMain::Player().SetFullScreen(false);
        owner_.Able();
        return;
    }
    // A click on the video hands the focus to the engine's widget; take it back, but never from
    // a menu or a dialog of this program that the user is working in.
    if (!isVisible() || QApplication::activePopupWidget() || QApplication::activeModalWidget())
        return;
    if (!isActiveWindow())
        activateWindow();
    if (QApplication::focusWidget() != this)
        setFocus(Qt::OtherFocusReason);
}

void frmFullScreen::keyPressEvent(QKeyEvent* event)
{
    if (!owner_.KeyDown(*event))
        QWidget::keyPressEvent(event);
}

// The window manager may settle the size only after showing: the picture follows it.
void frmFullScreen::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    MediaPlayerController& player = modMain::Player();
    if (player.FullScreen() && player.WindowHost()
        && player.WindowHost()->FullScreenWindow() == this)
        player.Resize();
}
