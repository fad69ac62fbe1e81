#include "CommandOptions.h"
#include "InspectCommands.h"
#include "JsonText.h"

#include "subtitles/SubtitleReader.h"
#include "tracks/TrackCatalog.h"
#include "tracks/TrackReader.h"

#include <cstdio>

int InspectTracks(const QStringList& args)
{
    QCommandLineParser parser;
    if (!ParseCommandOptions(parser, QStringLiteral("tracks"), args,
                             "veltrix-inspect tracks VIDEO"))
        return 2;
    if (parser.positionalArguments().size() != 1)
        return UsageError(QStringLiteral("tracks"), QStringLiteral("give exactly one video"));
    const QString video = parser.positionalArguments()[0];
    QString error;
    const auto tracks = TrackCatalog::List(video, nullptr, &error);
    if (!tracks) {
        std::fprintf(stderr, "veltrix-inspect tracks: %s: %s\n", qPrintable(video),
                     qPrintable(error));
        return 1;
    }
    QList<QByteArray> items;
    for (const EmbeddedTrack& track : *tracks) {
        JsonFields fields;
        fields.add(QStringLiteral("track"), track.number);
        fields.add(QStringLiteral("language"), track.language);
        fields.add(QStringLiteral("title"), track.title);
        fields.add(QStringLiteral("codec"), track.codec);
        fields.add(QStringLiteral("text"), track.text());
        fields.add(QStringLiteral("default"), track.isDefault);
        items.append(fields.text());
    }
    PrintJson(JsonArrayText(items, true));
    return 0;
}

bool LoadTrack(SubtitleReader& reader, const QString& video, int trackNumber)
{
    const TrackRead read = TrackReader::Read(video, trackNumber);
    if (!read.problem.isEmpty()) {
        std::fprintf(stderr, "veltrix-inspect subtitles: track %d of %s: %s\n", trackNumber,
                     qPrintable(video), qPrintable(read.problem));
    }
    if (!read.track) {
        reader.Destroy();
        return false;
    }
    return reader.LoadEntries(read.entries, read.track->nameIn(video));
}
