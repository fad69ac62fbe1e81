#include "subtitles/SubtitleReader.h"

#include "subtitles/SubtitleLine.h"
#include "subtitles/TextDecoder.h"

#include <QFile>
#include <QFileInfo>

namespace {

// Larger files are not subtitles; reading one whole would only exhaust memory.
constexpr qint64 MaximumFileSize = 512LL * 1024 * 1024;

// Calls handle(line) for every line of the text. CR LF is the usual end of a line; a lone LF or
// a lone CR ends one too. A final line without an end counts; an end at the very end adds none.
template <typename Handler>
void forEachLine(QStringView text, Handler&& handle)
{
    const QChar* data = text.data();
    const qsizetype n = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = data[i];
        if (c != u'\n' && c != u'\r')
            continue;
        handle(QStringView(data + start, i - start));
        if (c == u'\r' && i + 1 < n && data[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        handle(QStringView(data + start, n - start));
}

} // namespace

bool SubtitleReader::Load(const QString& file)
{
    Destroy();
    const QFileInfo info(file);
    // A FIFO or device would never end; only regular files are read.
    if (!info.isFile() || info.size() > MaximumFileSize)
        return false;
    QFile input(file);
    if (!input.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = input.readAll();
    if (input.error() != QFileDevice::NoError)
        return false;
    return LoadBytes(bytes, file);
}

bool SubtitleReader::LoadBytes(const QByteArray& bytes, const QString& fileName)
{
    Destroy();
    DecodedText decoded = DecodeSubtitleText(bytes);
    // Kept even when the file fails to load: it helps to tell why.
    m_encoding = decoded.encoding;
    std::vector<SubtitlePtr> created;
    Subtitle* current = nullptr;
    forEachLine(decoded.text, [&](QStringView line) { parseLine(line, created, current); });
    if (created.size() < 2)
        return false;

    std::vector<int64_t> starts, ends;
    starts.reserve(created.size());
    ends.reserve(created.size());
    for (const SubtitlePtr& entry : created) {
        starts.push_back(entry->Time1.raw());
        ends.push_back(entry->Time2.raw());
    }
    m_timeline = SubtitleTimeline(std::move(starts), std::move(ends));
    m_entries = std::move(created);
    m_fileName = fileName;
    return true;
}

void SubtitleReader::parseLine(QStringView line, std::vector<SubtitlePtr>& list,
                               Subtitle*& current)
{
    line = CutToLineLimit(line);
    if (const qsizetype arrow = line.indexOf(u"-->"); arrow >= 0) {
        current = NewEntry(list);
        current->Time1 = ParseTime(line.first(arrow));
        current->Time2 = ParseTime(line.sliced(arrow + 3));
    } else if (const std::optional<MicroDvdLine> frames = MatchMicroDvdLine(line)) {
        current = NewEntry(list);
        current->Time1 = frames->start;
        current->Time2 = frames->end;
        current->AddText(frames->text);   // nothing after the braces: the entry stays empty
        Frames = true;
    } else if (const qsizetype comma = MatchCommaTimingLine(line); comma >= 0) {
        current = NewEntry(list);
        current->Time1 = ParseTime(line.first(comma));
        current->Time2 = ParseTime(line.sliced(comma + 1));
    } else if (line.isEmpty()) {
        current = nullptr;
    } else if (current) {
        current->AddText(line);
    }
}

Subtitle* SubtitleReader::NewEntry(std::vector<SubtitlePtr>& list)
{
    list.push_back(std::make_shared<Subtitle>());
    return list.back().get();
}

void SubtitleReader::Destroy()
{
    m_fileName.clear();
    m_encoding.clear();
    m_entries.clear();
    m_timeline = SubtitleTimeline();
    m_currentIndex = 0;
    Frames = false;
    delay = 0;
}

Currency SubtitleReader::ParseTime(QStringView text)
{
    return ParseTimingField(text);
}
