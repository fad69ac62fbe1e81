#include "BenchProcess.h"

#include <QFile>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

qint64 nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// fork and exec with the given descriptor as 3 (or none), output to /dev/null.
pid_t spawn(const QStringList& command, int reportFd, int stdoutFd = -1)
{
    std::vector<QByteArray> storage;
    for (const QString& part : command)
        storage.push_back(part.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& part : storage)
        argv.push_back(part.data());
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid != 0)
        return pid;
    const int null = open("/dev/null", O_RDWR);
    dup2(null, 0);
    dup2(stdoutFd >= 0 ? stdoutFd : null, 1);
    dup2(null, 2);
    // dup2 clears close-on-exec, except when the descriptor already is 3.
    if (reportFd == 3)
        fcntl(3, F_SETFD, 0);
    else if (reportFd >= 0)
        dup2(reportFd, 3);
    for (int fd = 4; fd < 256; ++fd)
        close(fd);
    execvp(argv[0], argv.data());
    _exit(127);
}

void stopProcess(pid_t& pid)
{
    if (pid <= 0)
        return;
    kill(pid, SIGTERM);
    for (int i = 0; i < 100; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) {
            pid = -1;
            return;
        }
        usleep(20000);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    pid = -1;
}

}  // namespace

BenchChild::BenchChild(const QStringList& command)
{
    int pair[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0)
        return;
    startNs_ = nowNs();
    pid_ = spawn(command, pair[1]);
    close(pair[1]);
    socket_ = pair[0];
}

BenchChild::~BenchChild()
{
    Stop();
}

double BenchChild::WaitFor(const QByteArray& text, int timeoutMs)
{
    const qint64 deadline = nowNs() + qint64(timeoutMs) * 1000000;
    while (socket_ >= 0) {
        const qsizetype found = pending_.indexOf(text);
        if (found >= 0) {
            const double ms = (nowNs() - startNs_) / 1e6;
            pending_.remove(0, found + text.size());
            return ms;
        }
        const qint64 left = (deadline - nowNs()) / 1000000;
        if (left <= 0)
            return -1;
        pollfd wait{socket_, POLLIN, 0};
        if (poll(&wait, 1, int(left)) <= 0)
            continue;
        char buffer[4096];
        const ssize_t got = read(socket_, buffer, sizeof buffer);
        if (got <= 0)
            return -1;
        pending_.append(buffer, got);
    }
    return -1;
}

void BenchChild::Drain(int milliseconds)
{
    const qint64 deadline = nowNs() + qint64(milliseconds) * 1000000;
    for (qint64 left = milliseconds; left > 0; left = (deadline - nowNs()) / 1000000) {
        pollfd wait{socket_, POLLIN, 0};
        if (socket_ < 0 || poll(&wait, 1, int(left)) <= 0) {
            usleep(1000);
            continue;
        }
        char buffer[4096];
        if (read(socket_, buffer, sizeof buffer) <= 0) {
            close(socket_);
            socket_ = -1;
        }
    }
    pending_.clear();
}

bool BenchChild::Running()
{
    return pid_ > 0 && waitpid(pid_, nullptr, WNOHANG) == 0;
}

void BenchChild::Stop()
{
    stopProcess(pid_);
    if (socket_ >= 0)
        close(socket_);
    socket_ = -1;
}

double CpuSeconds(pid_t pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (pid <= 0 || !stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = stat.readAll();
    // The command name may hold spaces and parentheses; the fields follow the last ")".
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        return -1;
    // utime and stime are fields 14 and 15 of the whole line, 12 and 13 after the name.
    const double ticks = fields[11].toDouble() + fields[12].toDouble();
    return ticks / double(sysconf(_SC_CLK_TCK));
}

double ResidentMegabytes(pid_t pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (pid <= 0 || !status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return -1;
}

int RunQuietly(const QStringList& command)
{
    pid_t pid = spawn(command, -1);
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

BenchDisplay::~BenchDisplay()
{
    stopProcess(windowManager_);
    stopProcess(server_);
}

bool BenchDisplay::Start()
{
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return false;
    // Xvfb writes the display number it took once it accepts connections.
    server_ = spawn({QStringLiteral("Xvfb"), QStringLiteral("-displayfd"), QStringLiteral("1"),
                     QStringLiteral("-screen"), QStringLiteral("0"),
                     QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"),
                     QStringLiteral("tcp")},
                    -1, pipeFds[1]);
    close(pipeFds[1]);
    QByteArray number;
    char c = 0;
    pollfd wait{pipeFds[0], POLLIN, 0};
    while (poll(&wait, 1, 10000) > 0 && read(pipeFds[0], &c, 1) == 1 && c != '\n')
        number.append(c);
    close(pipeFds[0]);
    if (number.isEmpty())
        return false;
    qputenv("DISPLAY", ":" + number);
    qunsetenv("WAYLAND_DISPLAY");
    windowManager_ = spawn({QStringLiteral("openbox"), QStringLiteral("--sm-disable")}, -1);
    usleep(500000);
    return windowManager_ > 0 && waitpid(windowManager_, nullptr, WNOHANG) == 0;
}
