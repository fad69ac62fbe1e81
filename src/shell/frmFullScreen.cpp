#include "shell/frmFullScreen.h"

#include "media/MediaPlayerController.h"
#include "platform/ActiveWindow.h"
#include "shell/frmMain.h"
#include "shell/modMain.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QWindow>

namespace {
constexpr int kQuietReturnMs = 1000;
} // namespace

frmFullScreen::frmFullScreen(frmMain& owner)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), owner_(owner)
{
    setWindowTitle(modMain::kAppTitle);
    setAutoFillBackground(true);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setFocusPolicy(Qt::StrongFocus);
    tmrCheck_.setInterval(25);
    connect(&tmrCheck_, &QTimer::timeout, this, &frmFullScreen::tmrCheck_Timer);
    tmrCheck_.start();
}

void frmFullScreen::tmrCheck_Timer()
{
    const ActiveWindow active = ActiveWindowNow();
    // While the main window hides, the window manager may hand the focus to another program for
    // a moment before this window takes it: only a switch away from this window counts. The id
    // is asked of the native window itself.
    if (isVisible() && windowHandle() && active.window == quintptr(windowHandle()->winId()))
        wasActive_ = true;
    if (isVisible() && wasActive_ && active.owner == ActiveWindowOwner::OtherProgram) {
        // The user went to another program: the main window comes back behind it, without
        // taking the focus from it.
        // The window may be mapped only a little later, so the request stands for a moment.
        frmMain& owner = owner_;
        owner.setAttribute(Qt::WA_ShowWithoutActivating, true);
        modMain::Player().SetFullScreen(false);
        QTimer::singleShot(kQuietReturnMs, &owner, [&owner] {
            owner.setAttribute(Qt::WA_ShowWithoutActivating, false);
        });
        owner.Able();
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

// Only now, just before the window is mapped: the video's GL widget moving in may have made Qt
// create the native window afresh, and setting the size drops a full-screen state.
void frmFullScreen::showEvent(QShowEvent* event)
{
    // Full-screen state, not just the screen's size: the window manager then also covers its
    // panels and keeps this window above them.
    if (!(windowState() & Qt::WindowFullScreen))
        setWindowState(windowState() | Qt::WindowFullScreen);
    KeepOutOfTaskBar(windowHandle());
    QWidget::showEvent(event);
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
