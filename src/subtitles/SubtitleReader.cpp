#include "subtitles/SubtitleReader.h"

#include "subtitles/SubtitleLine.h"
#include "subtitles/TextDecoder.h"

#include "platform/Prefault.h"

#include <QFile>
#include <QFileInfo>

namespace {

// Larger files are not subtitles; reading one whole would only exhaust memory.
constexpr qint64 MaximumFileSize = 512LL * 1024 * 1024;

} // namespace

bool SubtitleReader::Load(const QString& file)
{
    Destroy();
    const QFileInfo info(file);
    // A FIFO or device would never end; only regular files are read.
    if (!info.isFile() || info.size() > MaximumFileSize)
        return false;
    // Read, not mapped: a file cut short by another program while we parse it must not be
    // able to end the player with a bus error.
    QFile input(file);
    if (!input.open(QIODevice::ReadOnly))
        return false;
    const auto created = std::make_shared<SubtitleStore>();
    Subtitle* current = nullptr;
    const std::optional<QString> encoding = DecodeSubtitleFile(
        input, SubtitleLineLimit, [&](QStringView line) { parseLine(line, *created, current); });
    if (!encoding)
        return false;
    return finishLoad(created, file, *encoding);
}

bool SubtitleReader::LoadBytes(const QByteArray& bytes, const QString& fileName)
{
    Destroy();
    const auto created = std::make_shared<SubtitleStore>();
    Subtitle* current = nullptr;
    const QString encoding = DecodeSubtitleLines(
        bytes, SubtitleLineLimit, [&](QStringView line) { parseLine(line, *created, current); });
    return finishLoad(created, fileName, encoding);
}

bool SubtitleReader::finishLoad(const std::shared_ptr<SubtitleStore>& created,
                                const QString& fileName, const QString& encoding)
{
    // Kept even when the file fails to load: it helps to tell why.
    m_encoding = encoding;
    if (created->size() < 2)
        return false;

    m_entries = SubtitleStore::share(created);
    std::vector<int64_t> starts, ends;
    ReservePrefaulted(starts, m_entries.size());
    ReservePrefaulted(ends, m_entries.size());
    for (const SubtitlePtr& entry : m_entries) {
        starts.push_back(entry->Time1.raw());
        ends.push_back(entry->Time2.raw());
    }
    m_timeline = SubtitleTimeline(std::move(starts), std::move(ends));
    m_fileName = fileName;
    return true;
}

void SubtitleReader::parseLine(QStringView line, SubtitleStore& list, Subtitle*& current)
{
    line = CutToLineLimit(line);
    const LineShape shape = ShapeOf(line);
    const qsizetype arrow = shape.arrowHead ? FindTimingArrow(line) : -1;
    if (arrow >= 0) {
        current = NewEntry(list);
        current->Time1 = ParseTime(line.first(arrow));
        current->Time2 = ParseTime(SubRipEndTime(line.sliced(arrow + 3)));
        return;
    }
    if (const std::optional<MicroDvdLine> frames = MatchMicroDvdLine(line)) {
        current = NewEntry(list);
        current->Time1 = frames->start;
        current->Time2 = frames->end;
        current->AddText(frames->text);   // nothing after the braces: the entry stays empty
        Frames = true;
        return;
    }
    const qsizetype comma = shape.colon && shape.comma ? MatchCommaTimingLine(line) : -1;
    if (comma >= 0) {
        current = NewEntry(list);
        current->Time1 = ParseTime(line.first(comma));
        current->Time2 = ParseTime(line.sliced(comma + 1));
    } else if (line.isEmpty()) {
        current = nullptr;
    } else if (current) {
        current->AddScannedText(line, shape.markup);
    }
}

Subtitle* SubtitleReader::NewEntry(SubtitleStore& list)
{
    return list.add();
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
