#include "subtitles/SubtitleReader.h"

#include "subtitles/SubtitleLine.h"
#include "subtitles/TextDecoder.h"

#include <QFile>
#include <QFileInfo>

#include <new>

namespace {

// Larger files are not subtitles; reading one would only exhaust memory.
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
    const qint64 size = info.size();
    const bool loaded = parse(size, [&](SubtitleTable& table) {
        bool inEntry = false;
        const std::optional<QString> encoding = DecodeSubtitleFile(
            input, SubtitleLineLimit, [&](QStringView line) { parseLine(line, table, inEntry); },
            [&] {
                // Read as UTF-8 until invalid bytes showed otherwise: start again.
                table = SubtitleTable();
                table.reserveFor(size);
                inEntry = false;
                Frames = false;
            });
        m_encoding = encoding.value_or(QString());
        return encoding.has_value();
    });
    if (loaded)
        m_fileName = file;
    return loaded;
}

bool SubtitleReader::LoadBytes(const QByteArray& bytes, const QString& fileName)
{
    Destroy();
    const bool loaded = parse(bytes.size(), [&](SubtitleTable& table) {
        bool inEntry = false;
        m_encoding = DecodeSubtitleLines(
            bytes, SubtitleLineLimit, [&](QStringView line) { parseLine(line, table, inEntry); });
        return true;
    });
    if (loaded)
        m_fileName = fileName;
    return loaded;
}

bool SubtitleReader::LoadEntries(const std::shared_ptr<SubtitleStore>& entries,
                                 const QString& name)
{
    Destroy();
    m_encoding = QStringLiteral("UTF-8");
    if (!takeEntries(entries))
        return false;
    m_fileName = name;
    return true;
}

bool SubtitleReader::ReplaceEntries(const std::shared_ptr<SubtitleStore>& entries)
{
    if (!entries || entries->size() == 0 || m_fileName.isEmpty() || !takeEntries(entries))
        return false;
    m_currentIndex = 0;
    return true;
}

bool SubtitleReader::takeEntries(const std::shared_ptr<SubtitleStore>& entries)
{
    if (!entries || entries->size() == 0)
        return false;
    try {
        SubtitleTable table;
        for (const SubtitlePtr& entry : SubtitleStore::share(entries))
            table.addSubtitle(*entry);
        table.finish();
        m_table = std::move(table);
        m_timeline = SubtitleTimeline(m_table);
        // The entries are new objects: the old one handed out is no longer one of them.
        m_handedOut.reset();
        m_handedOutIndex = 0;
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool SubtitleReader::parse(qint64 size, const std::function<bool(SubtitleTable&)>& read)
{
    try {
        SubtitleTable table;
        table.reserveFor(size);
        if (!read(table) || table.size() < 2)
            return false;
        table.finish();
        m_table = std::move(table);
        m_timeline = SubtitleTimeline(m_table);
        return true;
    } catch (const std::bad_alloc&) {
        // A file too large for the memory left is a file that does not load, not a crash.
        const bool frames = Frames;
        const QString encoding = m_encoding;
        Destroy();
        Frames = frames;
        m_encoding = encoding;
        return false;
    }
}

void SubtitleReader::parseLine(QStringView line, SubtitleTable& table, bool& inEntry)
{
    line = CutToLineLimit(line);
    const LineShape shape = ShapeOf(line);
    const qsizetype arrow = shape.arrowHead ? FindTimingArrow(line) : -1;
    if (arrow >= 0) {
        table.addEntry(ParseTime(line.first(arrow)),
                       ParseTime(SubRipEndTime(line.sliced(arrow + 3))));
        inEntry = true;
        return;
    }
    if (const std::optional<MicroDvdLine> frames = MatchMicroDvdLine(line)) {
        table.addEntry(frames->start, frames->end);
        // Nothing after the braces: the entry stays empty.
        table.addText(frames->text, ShapeOf(frames->text).markup);
        inEntry = true;
        Frames = true;
        return;
    }
    const qsizetype comma = shape.colon && shape.comma ? MatchCommaTimingLine(line) : -1;
    if (comma >= 0) {
        table.addEntry(ParseTime(line.first(comma)), ParseTime(line.sliced(comma + 1)));
        inEntry = true;
    } else if (line.isEmpty()) {
        inEntry = false;
    } else if (inEntry) {
        table.addText(line, shape.markup);
    }
}

SubtitlePtr SubtitleReader::Entry(int n) const
{
    if (n < 1 || n > m_table.size())
        return nullptr;
    if (!m_handedOut || m_handedOutIndex != n) {
        m_handedOut = m_table.entry(n - 1);
        m_handedOutIndex = n;
    }
    return m_handedOut;
}

std::vector<SubtitlePtr> SubtitleReader::Entries() const
{
    std::vector<SubtitlePtr> entries;
    entries.reserve(static_cast<size_t>(m_table.size()));
    for (int i = 0; i < m_table.size(); ++i)
        entries.push_back(m_table.entry(i));
    return entries;
}

void SubtitleReader::Destroy()
{
    m_fileName.clear();
    m_encoding.clear();
    m_timeline = SubtitleTimeline();
    m_table = SubtitleTable();
    m_handedOut.reset();
    m_handedOutIndex = 0;
    m_currentIndex = 0;
    Frames = false;
    delay = 0;
    Rate = 1.0;
}

Currency SubtitleReader::ParseTime(QStringView text)
{
    return ParseTimingField(text);
}
