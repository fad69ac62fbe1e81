#include "InspectCommands.h"

#include "media/AviProbe.h"
#include "platform/NumberFormat.h"

#include <QFileInfo>

#include <cstdio>

int InspectAvi(const QStringList& args)
{
    if (args.size() != 1) {
        std::fprintf(stderr, "veltrix-inspect avi: give exactly one file\n");
        return 2;
    }
    const int32_t frus = ProbeAviFrameDuration(args[0]);
    std::printf("{\"frus\": %d, \"fps\": %s}\n", frus,
                qPrintable(ShortestDecimal(FramesPerSecond(frus))));
    return 0;
}
