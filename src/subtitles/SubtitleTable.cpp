#include "subtitles/SubtitleTable.h"

#include "subtitles/SubtitleMarkup.h"

#include "platform/Prefault.h"

#include <algorithm>
#include <new>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace {

// Stored values from NarrowLowest up are whole times; below it they point into the wide times.
constexpr int32_t NarrowLowest = -(1 << 30);

// Memory is backed a megabyte ahead of what is filled, in one call: page by page on first touch
// the faults cost more than the parsing. A megabyte per array is all it adds to the peak.
constexpr size_t BackedAheadBytes = 1024 * 1024;

// Large pages for the large arrays: a fault and a TLB entry per 2 MB instead of per 4 KB. What is
// never touched is still never backed.
template <typename Array>
void adviseLargePages(Array& array)
{
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr uintptr_t LargePage = 2 * 1024 * 1024;
    const auto data = reinterpret_cast<uintptr_t>(array.data());
    const auto begin = (data + LargePage - 1) & ~(LargePage - 1);
    const auto bytes = array.capacity() * sizeof(typename Array::value_type);
    const auto end = (data + bytes) & ~(LargePage - 1);
    if (end > begin)
        madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
    (void)array;
#endif
}

template <typename Array>
void backAhead(Array& array, size_t& backed, size_t needed)
{
    using T = typename Array::value_type;
    if (needed <= backed || needed > array.capacity())
        return;
    const size_t upTo = std::min(array.capacity(),
                                 std::max(needed, backed + BackedAheadBytes / sizeof(T)));
    PrefaultForWriting(array.data() + backed, (upTo - backed) * sizeof(T));
    backed = upTo;
}

} // namespace

void SubtitleTable::reserveFor(qint64 bytes)
{
    // Every entry needs a timing line of at least three characters and a line end, every entry
    // with text a text line besides; no character of the text pool comes from less than a byte
    // (a line break "|" and the joining line end become one LF each).
    const auto size = static_cast<size_t>(std::max<qint64>(bytes, 0));
    m_records.reserve(size / 4 + 2);
    m_texts.reserve(size / 5 + 2);
    m_pool.reserve(size + 2);
    adviseLargePages(m_records);
    adviseLargePages(m_texts);
    adviseLargePages(m_pool);
}

int32_t SubtitleTable::narrow(Currency value)
{
    const int64_t raw = value.raw();
    if (raw % Currency::Scale == 0) {
        const int64_t whole = raw / Currency::Scale;
        if (whole >= NarrowLowest && whole <= INT32_MAX)
            return static_cast<int32_t>(whole);
    }
    const auto index = static_cast<int64_t>(m_wideTimes.size());
    if (index > int64_t{NarrowLowest} - 1 - INT32_MIN)
        throw std::bad_alloc();
    m_wideTimes.push_back(raw);
    return static_cast<int32_t>(NarrowLowest - 1 - index);
}

int64_t SubtitleTable::widen(int32_t stored) const
{
    if (stored >= NarrowLowest)
        return int64_t{stored} * Currency::Scale;
    return m_wideTimes[static_cast<size_t>(int64_t{NarrowLowest} - 1 - stored)];
}

void SubtitleTable::addEntry(Currency start, Currency end)
{
    if (m_records.size() >= ItalicBit)
        throw std::bad_alloc();
    backAhead(m_records, m_recordsBacked, m_records.size() + 1);
    m_records.push_back({narrow(start), narrow(end), static_cast<uint32_t>(m_records.size())});
}

bool SubtitleTable::addText(QStringView rawLine, bool mayHoldMarkup)
{
    if (rawLine.isEmpty() || m_records.empty())
        return false;
    const uint32_t order = m_records.back().order;
    if (m_texts.empty() || (m_texts.back().orderAndItalic & ~ItalicBit) != order) {
        if (m_pool.size() >= UINT32_MAX)
            throw std::bad_alloc();
        backAhead(m_texts, m_textsBacked, m_texts.size() + 1);
        m_texts.push_back({order, static_cast<uint32_t>(m_pool.size())});
    }
    TextRef& text = m_texts.back();
    // A converted line is never longer than twice the raw one ("|" becomes CR LF).
    backAhead(m_pool, m_poolBacked, m_pool.size() + 1 + 2 * static_cast<size_t>(rawLine.size()));
    // An entry whose text is still empty takes the line as it is, without a break before it.
    if (m_pool.size() > text.begin)
        m_pool.push_back(u'\n');
    if (!NeedsMarkupConversion(rawLine, mayHoldMarkup)) {
        m_pool.insert(m_pool.end(), rawLine.utf16(), rawLine.utf16() + rawLine.size());
        return true;
    }
    bool italic = (text.orderAndItalic & ItalicBit) != 0;
    ConvertSubtitleMarkup(rawLine, italic, m_converted);
    if (italic)
        text.orderAndItalic |= ItalicBit;
    // Line breaks are kept as a bare LF, which the text of a line never holds otherwise.
    for (const QChar c : std::as_const(m_converted)) {
        if (c != u'\r')
            m_pool.push_back(c.unicode());
    }
    return true;
}

void SubtitleTable::addSubtitle(const Subtitle& entry)
{
    addEntry(entry.Time1, entry.Time2);
    if (entry.Text.isEmpty() && !entry.Italic)
        return;
    const uint32_t order = m_records.back().order;
    m_texts.push_back({order | (entry.Italic ? ItalicBit : 0u),
                       static_cast<uint32_t>(m_pool.size())});
    const QString& text = entry.Text;
    for (qsizetype i = 0; i < text.size(); ++i) {
        // CR LF is kept as the bare LF that stands for it; a lone CR stays as it is.
        if (text[i] != u'\r' || i + 1 >= text.size() || text[i + 1] != u'\n')
            m_pool.push_back(text[i].unicode());
    }
}

void SubtitleTable::finish()
{
    auto earlier = [this](const Record& a, const Record& b) {
        const int64_t startA = widen(a.start), startB = widen(b.start);
        return startA < startB || (startA == startB && a.order < b.order);
    };
    // Files are nearly always in order already; then nothing moves. Otherwise the file position
    // breaks ties, so an in-place sort keeps equal starts in file order without a second array.
    if (!std::is_sorted(m_records.begin(), m_records.end(), earlier))
        std::sort(m_records.begin(), m_records.end(), earlier);
}

const SubtitleTable::TextRef* SubtitleTable::textOf(uint32_t order, uint32_t& end) const
{
    const auto found = std::lower_bound(
        m_texts.begin(), m_texts.end(), order,
        [](const TextRef& text, uint32_t wanted) {
            return (text.orderAndItalic & ~ItalicBit) < wanted;
        });
    if (found == m_texts.end() || (found->orderAndItalic & ~ItalicBit) != order)
        return nullptr;
    end = found + 1 == m_texts.end() ? static_cast<uint32_t>(m_pool.size()) : found[1].begin;
    return &*found;
}

SubtitlePtr SubtitleTable::entry(int index) const
{
    const Record& record = m_records.at(static_cast<size_t>(index));
    auto made = std::make_shared<Subtitle>();
    made->Time1 = Currency::fromRaw(widen(record.start));
    made->Time2 = Currency::fromRaw(widen(record.end));
    uint32_t end = 0;
    if (const TextRef* text = textOf(record.order, end)) {
        made->Italic = (text->orderAndItalic & ItalicBit) != 0;
        const qsizetype length = end - text->begin;
        const char16_t* chars = m_pool.data() + text->begin;
        made->Text.reserve(length + std::count(chars, chars + length, u'\n'));
        for (qsizetype i = 0; i < length; ++i) {
            if (chars[i] == u'\n')
                made->Text += u'\r';
            made->Text += QChar(chars[i]);
        }
    }
    return made;
}
