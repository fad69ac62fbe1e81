#include "InspectCommands.h"

#include "CommandOptions.h"
#include "JsonText.h"

#include "media/AviProbe.h"
#include "platform/NumberFormat.h"

#include <QFileInfo>

#include <cstdio>

int InspectAvi(const QStringList& args)
{
    QCommandLineParser parser;
    if (!ParseCommandOptions(parser, QStringLiteral("avi"), args, "veltrix-inspect avi FILE"))
        return 2;
    if (parser.positionalArguments().size() != 1)
        return UsageError(QStringLiteral("avi"), QStringLiteral("give exactly one file"));
    const QString file = parser.positionalArguments()[0];
    // As the player does: a FIFO or a device would block the read for ever, and is no video.
    const bool regular = QFileInfo(file).isFile();
    if (!regular)
        std::fprintf(stderr, "veltrix-inspect: note: '%s' is not a regular file; not read\n",
                     qPrintable(file));
    const int32_t frus = regular ? ProbeAviFrameDuration(file) : 0;
    JsonFields json;
    json.add(QStringLiteral("frus"), frus);
    // The shortest decimal that reads back as the same rate, as the status line would show it.
    json.addText(QStringLiteral("fps"), ShortestDecimal(FramesPerSecond(frus)).toUtf8());
    PrintJson(json.text());
    return 0;
}
