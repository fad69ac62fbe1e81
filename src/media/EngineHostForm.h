#pragma once

#include "media/MediaEngine.h"

#include <QPointer>
#include <QWidget>

class MediaPlayerController;

// What every engine's host form shares: the picture box PIC that the controller re-parents and
// sizes, the engine's video widget MP kept at PIC's size, and the forwarding of MP's mouse
// events and of the engine's state changes. The form itself is never shown.
class EngineHostForm : public QWidget, public MediaEngine {
    Q_OBJECT
public:
    ~EngineHostForm() override;

    QWidget* PIC() const override { return pic_; }
    QWidget* MP() const { return mp_; }
    // Keeps MP at PIC's size. Qt holds back resize events of hidden widgets, so whoever
    // sizes PIC calls this in the same step.
    void PIC_Resize() override;

protected:
    // nativePicture: PIC gets a window of its own, for an engine that draws into a window
    // handle. A GL widget must not sit in one (Qt composes it into the top-level window).
    EngineHostForm(MediaPlayerController& player, bool nativePicture);
    // Puts the engine's widget into PIC and starts forwarding its mouse events.
    void setMP(QWidget* mp);
    // The open-state and play-state handlers: only the window refresh.
    void engineStateChanged();
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void forwardMouse(QEvent* event);

    MediaPlayerController& player_;
    QPointer<QWidget> pic_;
    QPointer<QWidget> mp_;
};
