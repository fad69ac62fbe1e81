#pragma once

#include <QByteArray>
#include <QStringList>

#include <sys/types.h>

// A program under measurement. It inherits one end of a socket pair as descriptor 3, where it
// reports the moment the benchmark waits for; its own output goes nowhere.
class BenchChild {
public:
    explicit BenchChild(const QStringList& command);
    ~BenchChild();
    BenchChild(const BenchChild&) = delete;
    BenchChild& operator=(const BenchChild&) = delete;

    // Milliseconds from the start until a line containing text came, or -1 after timeoutMs or
    // when the program ended first.
    double WaitFor(const QByteArray& text, int timeoutMs);
    // Reads and drops what the program reports for this long, so it never blocks on writing.
    void Drain(int milliseconds);
    bool Running();
    void Stop();
    pid_t Pid() const { return pid_; }

private:
    pid_t pid_ = -1;
    int socket_ = -1;
    QByteArray pending_;
    qint64 startNs_ = 0;
};

// User plus system time of a process so far, in seconds; -1 when it cannot be read.
double CpuSeconds(pid_t pid);

// Resident memory of a process now, in megabytes; -1 when it cannot be read.
double ResidentMegabytes(pid_t pid);

// Runs a command to its end with its output dropped; its exit code, or -1.
int RunQuietly(const QStringList& command);

// An X server of the benchmark's own with a window manager, set as DISPLAY for the children.
class BenchDisplay {
public:
    ~BenchDisplay();
    bool Start();
    pid_t ServerPid() const { return server_; }

private:
    pid_t server_ = -1;
    pid_t windowManager_ = -1;
};
