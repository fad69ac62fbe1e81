#include "CommandOptions.h"
#include "InspectCommands.h"
#include "JsonText.h"

#include "platform/Currency.h"
#include "platform/NumberParse.h"
#include "platform/Rounding.h"
#include "subtitles/SubtitleReader.h"

#include <cmath>
#include <optional>
#include <vector>

namespace {

struct Options
{
    QString file;
    int32_t delay = 0;
    double fps = 0.0;
    int32_t frus = 0;
    std::vector<Currency> positions;
    bool summary = false;
    int track = 0;   // a subtitle track of the video FILE; 0 reads FILE as a subtitle file
};

std::optional<int32_t> wholeNumber(const QString& text)
{
    const std::optional<double> value = ParseStrict(text);
    if (!value || std::trunc(*value) != *value)
        return std::nullopt;
    return RoundToInt32(*value);
}

// Returns an error message, empty when the arguments are good.
QString readOptions(const QCommandLineParser& parser, Options& options)
{
    if (parser.positionalArguments().size() != 1)
        return QStringLiteral("give exactly one subtitle file");
    options.file = parser.positionalArguments()[0];
    options.summary = parser.isSet(QStringLiteral("summary"));
    if (parser.isSet(QStringLiteral("delay"))) {
        const QString value = parser.value(QStringLiteral("delay"));
        const std::optional<int32_t> delay = wholeNumber(value);
        if (!delay)
            return QStringLiteral("--delay takes whole milliseconds: ") + value;
        options.delay = *delay;
    }
    if (parser.isSet(QStringLiteral("fps"))) {
        const QString value = parser.value(QStringLiteral("fps"));
        const std::optional<double> fps = ParseStrict(value);
        if (!fps || !std::isfinite(*fps))
            return QStringLiteral("--fps takes a number: ") + value;
        options.fps = *fps;
    }
    if (parser.isSet(QStringLiteral("frus"))) {
        const QString value = parser.value(QStringLiteral("frus"));
        const std::optional<int32_t> frus = wholeNumber(value);
        if (!frus)
            return QStringLiteral("--frus takes whole microseconds: ") + value;
        options.frus = *frus;
    }
    if (parser.isSet(QStringLiteral("track"))) {
        const QString value = parser.value(QStringLiteral("track"));
        const std::optional<int32_t> track = wholeNumber(value);
        if (!track || *track < 1)
            return QStringLiteral("--track takes a track number from 1: ") + value;
        options.track = *track;
    }
    for (const QString& value : parser.values(QStringLiteral("at"))) {
        const std::optional<Currency> at = Currency::parse(value);
        if (!at)
            return QStringLiteral("--at takes a number: ") + value;
        options.positions.push_back(*at);
    }
    return {};
}

QByteArray entriesText(const SubtitleReader& reader)
{
    QList<QByteArray> entries;
    for (int n = 1; n <= reader.Count(); ++n) {
        const SubtitlePtr entry = reader.Entry(n);
        JsonFields fields;
        fields.add(QStringLiteral("time1"), entry->Time1.toString());
        fields.add(QStringLiteral("time2"), entry->Time2.toString());
        fields.add(QStringLiteral("italic"), entry->Italic);
        fields.add(QStringLiteral("text"), entry->Text);
        entries.append(fields.text());
    }
    return JsonArrayText(entries, true);
}

} // namespace

int InspectSubtitles(const QStringList& args, const TrackLoader& loadTrack)
{
    const char* usage = "veltrix-inspect subtitles FILE [--delay MS] [--fps F] [--frus US] "
                        "[--at T]... [--summary] [--track N]";
    QCommandLineParser parser;
    parser.addOptions({{QStringLiteral("delay"), QStringLiteral("Shift later by MS."), "MS"},
                       {QStringLiteral("fps"), QStringLiteral("Frame rate of the file."), "F"},
                       {QStringLiteral("frus"), QStringLiteral("Video frame duration."), "US"},
                       {QStringLiteral("at"), QStringLiteral("Look up a position."), "T"},
                       {QStringLiteral("summary"), QStringLiteral("Count, not entries.")},
                       {QStringLiteral("track"), QStringLiteral("Track of a video."), "N"}});
    Options options;
    if (!ParseCommandOptions(parser, QStringLiteral("subtitles"), args, usage))
        return 2;
    if (const QString error = readOptions(parser, options); !error.isEmpty())
        return UsageError(QStringLiteral("subtitles"), error);

    SubtitleReader reader;
    const bool loaded = options.track > 0 ? loadTrack(reader, options.file, options.track)
                                          : reader.Load(options.file);
    reader.delay = options.delay;
    reader.FPS = options.fps;

    JsonFields json;
    json.add(QStringLiteral("loaded"), loaded);
    json.add(QStringLiteral("frames"), reader.Frames);
    json.add(QStringLiteral("encoding"), reader.Encoding());
    if (options.summary)
        json.add(QStringLiteral("count"), qint64(reader.Count()));
    else
        json.addText(QStringLiteral("entries"), entriesText(reader));
    QList<QByteArray> lookups;
    for (const Currency& at : options.positions) {
        const SubtitlePtr shown = reader.GetSubtitle(at, options.frus);
        JsonFields lookup;
        lookup.add(QStringLiteral("at"), at.toString());
        // After a hit the reader's current index is the entry it returned.
        const QJsonValue index = shown ? QJsonValue(reader.CurrentIndex()) : QJsonValue();
        lookup.add(QStringLiteral("index"), index);
        lookups.append(lookup.text());
    }
    json.addText(QStringLiteral("lookups"), JsonArrayText(lookups, true));
    PrintJson(json.text(true));
    return 0;
}
