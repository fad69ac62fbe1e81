#include "CommandOptions.h"

#include <cstdio>

bool ParseCommandOptions(QCommandLineParser& parser, const QString& command,
                         const QStringList& args, const char* usage)
{
    // A value that starts with "-" (a negative delay) still belongs to the option before it.
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    if (!parser.parse(QStringList{QStringLiteral("veltrix-inspect")} + args)) {
        UsageError(command, parser.errorText());
        std::fprintf(stderr, "usage: %s\n", usage);
        return false;
    }
    return true;
}

int UsageError(const QString& command, const QString& error)
{
    std::fprintf(stderr, "veltrix-inspect %s: %s\n", qPrintable(command), qPrintable(error));
    return 2;
}
