#pragma once

#include "subtitles/LargePageAllocator.h"
#include "subtitles/Subtitle.h"

#include <QStringView>

#include <cstdint>
#include <deque>
#include <vector>

// The entries of one loaded file, held compactly so that memory stays within a small multiple of
// the file's size whatever it holds: a file of ten million bare "-->" lines has ten million
// entries. Times are kept as 32-bit whole numbers where they are whole (nearly always), the text
// of all entries in one pool, and a Subtitle object is only made for an entry someone asks for.
// After finish() the entries are in order of start time (equal starts keep file order).
class SubtitleTable
{
public:
    // Reserves room for everything a text of that many bytes can produce. Only what is filled
    // is ever backed by memory; reserving is what keeps the arrays from being copied as they
    // grow, which would need the old and the new array at once.
    void reserveFor(qint64 bytes);

    void addEntry(Currency start, Currency end);
    // Appends one raw text line to the entry added last, as Subtitle::AddText does: markup
    // converted, lines joined by a line break. An empty line is refused (false).
    bool addText(QStringView rawLine, bool mayHoldMarkup);
    // An entry whose text is display text already (a cue of a track inside a video).
    void addSubtitle(const Subtitle& entry);
    // Puts the entries in order of start time, equal starts in file order.
    void finish();

    int size() const { return static_cast<int>(m_records.size()); }
    // Raw fixed-point times of the entry at a 0-based position of the sorted order.
    int64_t start(int index) const { return widen(m_records[static_cast<size_t>(index)].start); }
    int64_t end(int index) const { return widen(m_records[static_cast<size_t>(index)].end); }
    // A new object holding the entry at a 0-based position, text and all.
    SubtitlePtr entry(int index) const;

private:
    struct Record
    {
        int32_t start;
        int32_t end;
        uint32_t order;   // position in the file, which also finds the entry's text
    };
    struct TextRef
    {
        uint32_t orderAndItalic;   // the entry's file position; the top bit says italic
        uint32_t begin;            // first character in the pool
    };
    static constexpr uint32_t ItalicBit = 0x80000000u;

    int32_t narrow(Currency value);
    int64_t widen(int32_t stored) const;
    const TextRef* textOf(uint32_t order, uint32_t& end) const;

    template <typename T>
    using LargeArray = std::vector<T, LargePageAllocator<T>>;
    LargeArray<Record> m_records;
    LargeArray<TextRef> m_texts;       // in file order, only for entries that have text
    LargeArray<char16_t> m_pool;       // the texts, lines joined by a bare LF
    std::deque<int64_t> m_wideTimes;   // times that are not whole or do not fit 32 bits
    QString m_converted;               // the line being converted; its storage serves the next
    // How much of each array is backed by memory already.
    size_t m_recordsBacked = 0;
    size_t m_textsBacked = 0;
    size_t m_poolBacked = 0;
};
