// The keys of the main window and of the full-screen window.
#include "shell/frmMain.h"

#include "controls/XFlatButton.h"
#include "controls/nSlider.h"
#include "media/MediaPlayerController.h"
#include "platform/Rounding.h"
#include "shell/modMain.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>

#include <algorithm>

using modMain::Player;

namespace {

// Key codes and shift bits of the key handler, as the platform's virtual keys number them.
constexpr int kShiftBit = 1;
constexpr int kCtrlBit = 2;
constexpr int kAltBit = 4;
constexpr int kKeyEnter = 13;
constexpr int kKeyEscape = 27;
constexpr int kKeySpace = 32;
constexpr int kKeyLeft = 37;
constexpr int kKeyUp = 38;
constexpr int kKeyRight = 39;
constexpr int kKeyDown = 40;
constexpr int kKeyF = 70;
constexpr int kKeyM = 77;
constexpr int kKeyT = 84;
constexpr int kKeyX = 88;
constexpr int kKeyZ = 90;

constexpr double kSeekSeconds = 5.0;
constexpr int kVolumeStep = 5;

int virtualKeyCode(int qtKey)
{
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        || qtKey == Qt::Key_Space)
        return qtKey;
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return 112 + (qtKey - Qt::Key_F1);
    switch (qtKey) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter: return kKeyEnter;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Pause: return 19;
    case Qt::Key_Escape: return kKeyEscape;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return kKeyLeft;
    case Qt::Key_Up: return kKeyUp;
    case Qt::Key_Right: return kKeyRight;
    case Qt::Key_Down: return kKeyDown;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    default: return 0;
    }
}

int shiftBits(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & Qt::ShiftModifier ? kShiftBit : 0)
         | (modifiers & Qt::ControlModifier ? kCtrlBit : 0)
         | (modifiers & Qt::AltModifier ? kAltBit : 0);
}

// Keys that switch something: held down, they would flip it back and forth with every repeat.
bool isSwitchKey(int keyCode)
{
    return keyCode == kKeyEnter || keyCode == kKeyEscape || keyCode == kKeySpace
        || keyCode == kKeyT || keyCode == kKeyM || keyCode == kKeyF;
}

} // namespace

bool frmMain::Form_KeyDown(int& KeyCode, int& Shift)
{
    MediaPlayerController& player = Player();
    const bool ctrl = Shift & kCtrlBit;
    const bool alt = Shift & kAltBit;
    bool handled = false;
    switch (KeyCode) {
    case kKeyEscape:
        handled = player.FullScreen();
        player.SetFullScreen(false);
        break;
    case kKeyEnter:
        if (player.FullScreen()) {
            player.SetFullScreen(false);
            handled = true;
        } else if (alt && player.State() > PlayerStatus::Opening) {
            player.SetFullScreen(true);
            handled = true;
        }
        break;
    case kKeyT:
        if (ctrl && mnuVideoAOT->isEnabled()) {
            mnuVideoAOT_Click();
            handled = true;
        }
        break;
    case kKeySpace:
        player.PlayToggle();
        handled = true;
        break;
    default:
        // The player's own extra keys take no Ctrl or Alt, which belong to the menus and the
        // desktop.
        if (!ctrl && !alt)
            handled = extraKeyDown(KeyCode);
        break;
    }
    Able();
    return handled;
}

bool frmMain::extraKeyDown(int keyCode)
{
    MediaPlayerController& player = Player();
    switch (keyCode) {
    case kKeyLeft:
    case kKeyRight: {
        if (player.State() <= PlayerStatus::Opening)
            return false;
        double position = player.Position() + (keyCode == kKeyLeft ? -kSeekSeconds : kSeekSeconds);
        const double duration = player.Duration();
        if (duration > 0)
            position = std::min(position, duration);
        player.SetPosition(std::max(0.0, position));
        return true;
    }
    case kKeyUp:
    case kKeyDown: {
        // Through the slider, so the slider, the engine and the stored volume stay in step.
        const int now = RoundToInt32(std::max(0.0, sldVolume->Value()) * 100.0).value_or(0);
        const int next = std::clamp(now + (keyCode == kKeyUp ? kVolumeStep : -kVolumeStep), 0, 100);
        sldVolume->SetValue(next / 100.0);
        sldVolume_Release();
        return true;
    }
    case kKeyM:
        cmdMute->Toggle();
        return true;
    case kKeyZ:
    case kKeyX:
        // The same steps as the delay menu's "-250 milliseconds" and "+250 milliseconds".
        mnuSubtitlesDelayOption_Click(keyCode == kKeyZ ? 1 : 2);
        return true;
    case kKeyF:
        if (player.FullScreen())
            player.SetFullScreen(false);
        else if (player.State() > PlayerStatus::Opening)
            player.SetFullScreen(true);
        else
            return false;
        return true;
    default:
        return false;
    }
}

bool frmMain::KeyDown(const QKeyEvent& event)
{
    int keyCode = virtualKeyCode(event.key());
    int shift = shiftBits(event.modifiers());
    if (event.isAutoRepeat() && isSwitchKey(keyCode))
        return true;
    return Form_KeyDown(keyCode, shift);
}

// The main window sees every key before the control that has the focus: Space toggles playback
// even right after a click on a flat button, which would otherwise take Space as its own click.
// A key the handler acted on goes no further; any other goes on to the control. The menu bar,
// while the keyboard walks it, keeps its keys.
bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == loadingForm_ && watched
        && (event->type() == QEvent::Resize || event->type() == QEvent::Show)) {
        LoadingForm_Resize();
        return false;
    }
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (widget->window() != this || qobject_cast<QMenuBar*>(widget))
        return false;
    // Only the first delivery: a key a child ignores travels up to its parents as well.
    QWidget* focus = QApplication::focusWidget();
    if (widget != focus && !(focus == nullptr && widget == this))
        return false;
    return KeyDown(*static_cast<QKeyEvent*>(event));
}
