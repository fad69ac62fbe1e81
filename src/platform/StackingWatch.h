#pragma once

#include <QAbstractNativeEventFilter>

// Tells whether any top-level window on the screen (other programs' included) may have been
// mapped, unmapped, moved, resized or restacked since the last look, so that a question about
// which window is where needs asking again only then. On X11 it listens to the root window's
// structure events on the application's own connection; elsewhere it always says "changed".
// User-interface thread only.
class StackingWatch : public QAbstractNativeEventFilter {
public:
    StackingWatch();
    ~StackingWatch() override;
    StackingWatch(const StackingWatch&) = delete;
    StackingWatch& operator=(const StackingWatch&) = delete;

    // True when something may have changed since the last call (and on the first call).
    bool TakeChange();

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    bool watching_ = false;
    bool changed_ = true;
};
