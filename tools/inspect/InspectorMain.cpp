#include "InspectorMain.h"

#include <QCoreApplication>

#include <clocale>
#include <cstdio>

namespace {

const char* const Usage =
    "usage: veltrix-inspect subtitles FILE [--delay MS] [--fps F] [--frus US] [--at T]... "
    "[--summary]\n"
    "       veltrix-inspect subtitles VIDEO --track N [options as above]\n"
    "       veltrix-inspect tracks VIDEO\n"
    "       veltrix-inspect avi FILE\n"
    "       veltrix-inspect match VIDEO [PATHSUBS]\n"
    "       veltrix-inspect sync VIDEO SUBTITLE [--write OUT]\n";

} // namespace

int RunInspector(int argc, char** argv, std::initializer_list<InspectorCommand> commands)
{
    QCoreApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    // Each command parses its own options (CommandOptions.h); only the command name is read here.
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty() || args[0] == u"--help" || args[0] == u"-h") {
        std::fputs(Usage, args.isEmpty() ? stderr : stdout);
        return args.isEmpty() ? 2 : 0;
    }
    const QString name = args.takeFirst();
    for (const InspectorCommand& command : commands) {
        if (name == QLatin1String(command.name))
            return command.run(args);
    }
    std::fprintf(stderr, "veltrix-inspect: unknown command '%s'\n%s", qPrintable(name), Usage);
    return 2;
}
