#include "InspectCommands.h"

#include "CommandOptions.h"
#include "JsonText.h"

#include "media/AviProbe.h"
#include "platform/NumberFormat.h"

int InspectAvi(const QStringList& args)
{
    QCommandLineParser parser;
    if (!ParseCommandOptions(parser, QStringLiteral("avi"), args, "veltrix-inspect avi FILE"))
        return 2;
    if (parser.positionalArguments().size() != 1)
        return UsageError(QStringLiteral("avi"), QStringLiteral("give exactly one file"));
    const int32_t frus = ProbeAviFrameDuration(parser.positionalArguments()[0]);
    JsonFields json;
    json.add(QStringLiteral("frus"), frus);
    // The shortest decimal that reads back as the same rate, as the status line would show it.
    json.addText(QStringLiteral("fps"), ShortestDecimal(FramesPerSecond(frus)).toUtf8());
    PrintJson(json.text());
    return 0;
}
