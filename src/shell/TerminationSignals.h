#pragma once

#include <QObject>

class QSocketNotifier;

// SIGTERM (logout, kill), SIGINT (Ctrl+C in a terminal) and SIGHUP (the terminal went away)
// become a Requested() signal on the user-interface thread, so the program ends the way File >
// Exit ends it, settings written back, instead of dying where it stands.
//
// The handler only writes a byte into a socket pair (all a signal handler may safely do); a
// socket notifier reads it in the event loop. One instance at a time; the default actions
// come back when it goes.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

signals:
    void Requested(int signalNumber);

private:
    void readSignals();

    int readEnd_ = -1;
    QSocketNotifier* notifier_ = nullptr;
};
