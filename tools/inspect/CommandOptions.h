#pragma once

#include <QCommandLineParser>
#include <QStringList>

// Parses a subcommand's arguments (those after its name). On a usage error it prints the error
// and the usage line to standard error and returns false: the command then exits with 2.
bool ParseCommandOptions(QCommandLineParser& parser, const QString& command,
                         const QStringList& args, const char* usage);
// The same message for an error found after parsing (a value of the wrong kind).
int UsageError(const QString& command, const QString& error);
