#pragma once
// A helper program the tests make their media with, run to its end.
#include <QProcess>
#include <QString>
#include <QStringList>

// True when `program` ended by itself with code 0 within `timeoutMs`; otherwise `error`, when
// given, says what went wrong.
inline bool RunProgram(const QString& program, const QStringList& args, int timeoutMs,
                       QString* error = nullptr)
{
    QProcess process;
    process.start(program, args);
    if (process.waitForFinished(timeoutMs) && process.exitStatus() == QProcess::NormalExit
        && process.exitCode() == 0)
        return true;
    if (error)
        *error = program + QStringLiteral(": ") + process.errorString()
            + QString::fromLocal8Bit(process.readAllStandardError());
    return false;
}
