// veltrix-inspect: shows what the player makes of a subtitle file or a video's frame rate, so a
// user can see why subtitles do not load or appear at the wrong time.
#include "InspectCommands.h"
#include "InspectMatch.h"

#include <QCoreApplication>

#include <clocale>
#include <cstdio>
#include <cstring>

namespace {

const char* const Usage =
    "usage: veltrix-inspect subtitles FILE [--delay MS] [--fps F] [--frus US] [--at T]... "
    "[--summary]\n"
    "       veltrix-inspect subtitles VIDEO --track N [options as above]\n"
    "       veltrix-inspect tracks VIDEO\n"
    "       veltrix-inspect avi FILE\n"
    "       veltrix-inspect match VIDEO [PATHSUBS]\n";

struct Command
{
    const char* name;
    int (*run)(const QStringList&);
};

const Command Commands[] = {
    {"subtitles", InspectSubtitles},
    {"avi", InspectAvi},
    {"tracks", InspectTracks},
    {"match", InspectMatch},
};

} // namespace

int main(int argc, char** argv)
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
    for (const Command& command : Commands) {
        if (name == QLatin1String(command.name))
            return command.run(args);
    }
    std::fprintf(stderr, "veltrix-inspect: unknown command '%s'\n%s", qPrintable(name), Usage);
    return 2;
}
