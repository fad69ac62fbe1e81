#pragma once

class QPoint;
class QWidget;

// What the media controller needs from the main window, which implements it: the video area the
// picture box lives in, the full-screen window, the state refresh and the video menu.
class PlayerWindowHost {
public:
    virtual ~PlayerWindowHost() = default;

    virtual QWidget* MainWindow() = 0;
    // picFrame: where the picture box lives while full screen is off.
    virtual QWidget* VideoArea() = 0;
    // frmFullScreen: loaded on demand, unloaded after full screen ends.
    virtual QWidget* LoadFullScreenWindow() = 0;
    virtual void UnloadFullScreenWindow() = 0;
    // Null while it is not loaded.
    virtual QWidget* FullScreenWindow() = 0;
    // frmSubtitle while it is loaded, else null.
    virtual QWidget* SubtitleWindow() = 0;

    // Refreshes every enabled and checked state of the window.
    virtual void Able() = 0;
    // Pops up the Video menu at a screen position, owned by the given window.
    virtual void ShowVideoMenu(QWidget* owner, const QPoint& globalPosition) = 0;
    // Assigns always-on-top to itself again, after the main window was hidden and shown.
    virtual void ReapplyAlwaysOnTop() = 0;
    // The overlay's drawing surface belongs to the old geometry.
    virtual void ReleaseOverlaySurface() = 0;
};
