#include "CommandOptions.h"
#include "InspectCommands.h"
#include "JsonText.h"

#include "media/AviProbe.h"
#include "subtitles/SubtitleReader.h"
#include "sync/SpeechCues.h"
#include "sync/SyncAnalysis.h"
#include "sync/SyncedSubRip.h"

#include <QElapsedTimer>

#include <cmath>

int InspectSync(const QStringList& args)
{
    const char* usage = "veltrix-inspect sync VIDEO SUBTITLE [--write OUT]";
    const QString command = QStringLiteral("sync");
    QCommandLineParser parser;
    parser.addOptions({{QStringLiteral("write"),
                        QStringLiteral("Write the corrected entries as SubRip."), "OUT"}});
    if (!ParseCommandOptions(parser, command, args, usage))
        return 2;
    const QStringList files = parser.positionalArguments();
    if (files.size() != 2)
        return UsageError(command, QStringLiteral("give a video and a subtitle file"));

    QElapsedTimer clock;
    clock.start();
    // Only an AVI header tells the frame rate; frame-based subtitles need it.
    const int32_t frus = ProbeAviFrameDuration(files[0]);
    const double videoFps = FramesPerSecond(frus);
    SubtitleReader reader;
    SyncResult result;
    if (!reader.Load(files[1]))
        result.error = QStringLiteral("The subtitle file does not load.");
    else if (reader.Frames && frus <= 0)
        result.error = QStringLiteral("The subtitles count frames and the video's frame rate is "
                                      "unknown.");
    else
        result = SyncAnalysis::Run(files[0], SpeechCuesOf(reader, frus), videoFps, {},
                                   std::atomic<bool>(false));
    const Alignment& a = result.alignment;
    QString written;
    if (result.error.isEmpty() && a.confident && parser.isSet(QStringLiteral("write"))) {
        written = parser.value(QStringLiteral("write"));
        if (const QString error = WriteSyncedSubRip(reader, frus, a, written); !error.isEmpty()) {
            result.error = error;
            written.clear();
        }
    }

    JsonFields json;
    json.add(QStringLiteral("delay"), qint64(std::nearbyint(a.delay)));
    json.add(QStringLiteral("rate"), a.factor);
    if (result.pair) {
        JsonFields pair;
        pair.add(QStringLiteral("subtitles"), result.pair->subtitles);
        pair.add(QStringLiteral("video"), result.pair->video);
        json.addText(QStringLiteral("fps"), pair.text());
    } else {
        json.add(QStringLiteral("fps"), QJsonValue());
    }
    json.add(QStringLiteral("confidence"), std::nearbyint(a.confidence * 1000) / 1000);
    json.add(QStringLiteral("confident"), result.error.isEmpty() && a.confident);
    json.add(QStringLiteral("seconds"), std::nearbyint(clock.elapsed() / 10.0) / 100);
    json.add(QStringLiteral("film"), std::nearbyint(result.filmSeconds * 10) / 10);
    if (!written.isEmpty())
        json.add(QStringLiteral("written"), written);
    if (!result.error.isEmpty())
        json.add(QStringLiteral("error"), result.error);
    PrintJson(json.text(true));
    return 0;
}
