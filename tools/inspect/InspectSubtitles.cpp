#include "InspectCommands.h"
#include "JsonText.h"

#include "platform/Currency.h"
#include "platform/NumberParse.h"
#include "platform/Rounding.h"
#include "subtitles/SubtitleReader.h"

#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
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
};

std::optional<int32_t> wholeNumber(const QString& text)
{
    const std::optional<double> value = ParseStrict(text);
    if (!value || std::trunc(*value) != *value)
        return std::nullopt;
    return RoundToInt32(*value);
}

// Returns an error message, empty when the arguments are good.
QString parseOptions(const QStringList& args, Options& options)
{
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == u"--summary") {
            options.summary = true;
            continue;
        }
        if (!arg.startsWith(u"--")) {
            if (!options.file.isEmpty())
                return QStringLiteral("more than one file given");
            options.file = arg;
            continue;
        }
        if (i + 1 >= args.size())
            return arg + QStringLiteral(" needs a value");
        const QString value = args[++i];
        if (arg == u"--delay") {
            const std::optional<int32_t> delay = wholeNumber(value);
            if (!delay)
                return QStringLiteral("--delay takes whole milliseconds: ") + value;
            options.delay = *delay;
        } else if (arg == u"--fps") {
            const std::optional<double> fps = ParseStrict(value);
            if (!fps || !std::isfinite(*fps))
                return QStringLiteral("--fps takes a number: ") + value;
            options.fps = *fps;
        } else if (arg == u"--frus") {
            const std::optional<int32_t> frus = wholeNumber(value);
            if (!frus)
                return QStringLiteral("--frus takes whole microseconds: ") + value;
            options.frus = *frus;
        } else if (arg == u"--at") {
            const std::optional<Currency> at = Currency::parse(value);
            if (!at)
                return QStringLiteral("--at takes a number: ") + value;
            options.positions.push_back(*at);
        } else {
            return QStringLiteral("unknown option ") + arg;
        }
    }
    if (options.file.isEmpty())
        return QStringLiteral("no subtitle file given");
    return {};
}

void appendEntries(std::string& out, const SubtitleReader& reader)
{
    out += "\"entries\": [";
    bool first = true;
    for (const SubtitlePtr& entry : reader.Entries()) {
        out += first ? "\n  " : ",\n  ";
        first = false;
        out += "{\"time1\": ";
        AppendJsonString(out, entry->Time1.toString());
        out += ", \"time2\": ";
        AppendJsonString(out, entry->Time2.toString());
        out += entry->Italic ? ", \"italic\": true, \"text\": " : ", \"italic\": false, \"text\": ";
        AppendJsonString(out, entry->Text);
        out += '}';
    }
    out += first ? "]" : "\n]";
}

} // namespace

int InspectSubtitles(const QStringList& args)
{
    Options options;
    if (const QString error = parseOptions(args, options); !error.isEmpty()) {
        std::fprintf(stderr, "veltrix-inspect subtitles: %s\n", qPrintable(error));
        return 2;
    }
    SubtitleReader reader;
    const bool loaded = reader.Load(options.file);
    reader.delay = options.delay;
    reader.FPS = options.fps;

    std::string out = "{\"loaded\": ";
    out += loaded ? "true" : "false";
    out += ", \"frames\": ";
    out += reader.Frames ? "true" : "false";
    out += ", \"encoding\": ";
    AppendJsonString(out, reader.Encoding());
    out += ",\n";
    if (options.summary)
        out += "\"count\": " + std::to_string(reader.Entries().size());
    else
        appendEntries(out, reader);
    out += ",\n\"lookups\": [";
    for (size_t i = 0; i < options.positions.size(); ++i) {
        const SubtitlePtr shown = reader.GetSubtitle(options.positions[i], options.frus);
        out += i == 0 ? "\n  {\"at\": " : ",\n  {\"at\": ";
        AppendJsonString(out, options.positions[i].toString());
        // After a hit the reader's current index is the entry it returned.
        out += ", \"index\": ";
        out += shown ? std::to_string(reader.CurrentIndex()) : "null";
        out += '}';
    }
    out += options.positions.empty() ? "]}\n" : "\n]}\n";
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}
