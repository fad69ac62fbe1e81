#pragma once

#include "subtitles/Subtitle.h"
#include "subtitles/SubtitleStore.h"
#include "subtitles/SubtitleTimeline.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

// Loads one subtitle file into a list of entries and answers which entry is to be shown at a
// playback position. Each line is classified on its own (SubRip "-->" timing, MicroDVD
// "{start}{end}" frames, "start,end" timing, blank, text), so mixed and sloppy files still load.
class SubtitleReader
{
public:
    // True when the loaded file counts frames (it had at least one MicroDVD line).
    bool Frames = false;
    // Milliseconds; positive values show subtitles later.
    int32_t delay = 0;
    // Frame rate the subtitle file was made for; 0 or less means "the video's own".
    double FPS = 0.0;

    SubtitleReader() = default;
    ~SubtitleReader() { Destroy(); }
    SubtitleReader(const SubtitleReader&) = delete;
    SubtitleReader& operator=(const SubtitleReader&) = delete;

    // Replaces the contents with the entries of the file; false when it cannot be read or holds
    // fewer than two entries. The previous file is forgotten either way.
    bool Load(const QString& file);
    // The same from bytes already in memory; fileName is what Filename reports afterwards.
    bool LoadBytes(const QByteArray& bytes, const QString& fileName);
    void Destroy();

    // The entry covering the position, or null. Time is milliseconds for a time-based file and a
    // (possibly fractional) frame number for a frame-based one; videoFrus is the video's frame
    // duration in microseconds, 0 when unknown.
    SubtitlePtr GetSubtitle(Currency Time, int32_t VideoFRUS);

    // "h:m:s,ms" (or with "." and more fields) to milliseconds; 0 when it cannot be read.
    static Currency ParseTime(QStringView text);

    QString Filename() const { return m_fileName; }
    // The encoding the last file read was decoded from, even when it did not load.
    QString Encoding() const { return m_encoding; }
    // The entries in file order; entry n of the file is Entries()[n - 1].
    const std::vector<SubtitlePtr>& Entries() const { return m_entries; }
    int Count() const { return static_cast<int>(m_entries.size()); }
    // Entry n, 1-based as CurrentIndex counts.
    SubtitlePtr Entry(int n) const { return m_entries.at(static_cast<size_t>(n - 1)); }
    // 1-based index where the last lookup stopped; 0 for none.
    int CurrentIndex() const { return m_currentIndex; }

private:
    static Subtitle* NewEntry(SubtitleStore& list);
    void parseLine(QStringView line, SubtitleStore& list, Subtitle*& current);
    bool finishLoad(const std::shared_ptr<SubtitleStore>& created, const QString& fileName,
                    const QString& encoding);
    Currency lookupKey(Currency time, int32_t videoFrus) const;

    QString m_fileName;
    QString m_encoding;
    std::vector<SubtitlePtr> m_entries;
    SubtitleTimeline m_timeline;
    int m_currentIndex = 0;
};
