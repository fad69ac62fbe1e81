#pragma once

#include <QTimer>
#include <QWidget>

class frmMain;

// The full-screen host: a borderless black window the video is moved into, kept out of the task
// bar. Its watchdog ends full screen as soon as the user turns to another program, and keeps the
// keyboard on this window otherwise, so the main window's keys work here too.
class frmFullScreen : public QWidget {
    Q_OBJECT

public:
    // Keys go to the owner's key handler.
    explicit frmFullScreen(frmMain& owner);

    QTimer& tmrCheck() { return tmrCheck_; }
    void tmrCheck_Timer();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    frmMain& owner_;
    QTimer tmrCheck_;
    bool wasActive_ = false;
};
