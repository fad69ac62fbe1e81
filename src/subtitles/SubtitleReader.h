#pragma once

#include "subtitles/Subtitle.h"
#include "subtitles/SubtitleStore.h"
#include "subtitles/SubtitleTable.h"
#include "subtitles/SubtitleTimeline.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

// Loads one subtitle file into a list of entries and answers which entry is to be shown at a
// playback position. Each line is classified on its own (SubRip "-->" timing, MicroDVD
// "{start}{end}" frames, "start,end" timing, blank, text), so mixed and sloppy files still load.
// The entries are put in order of start time when loaded (equal starts keep file order), so an
// entry placed after a later-starting one is still found.
class SubtitleReader
{
public:
    // True when the loaded file counts frames (it had at least one MicroDVD line).
    bool Frames = false;
    // Milliseconds; positive values show subtitles later.
    int32_t delay = 0;
    // Frame rate the subtitle file was made for; 0 or less means "the video's own".
    double FPS = 0.0;
    // Speed factor found by listening to the film where the video has no frame rate to override:
    // the key is multiplied by it after the delay. 1 leaves every lookup as it was.
    double Rate = 1.0;

    SubtitleReader() = default;
    ~SubtitleReader() { Destroy(); }
    SubtitleReader(const SubtitleReader&) = delete;
    SubtitleReader& operator=(const SubtitleReader&) = delete;

    // Replaces the contents with the entries of the file; false when it cannot be read, holds
    // fewer than two entries or does not fit in memory. The previous file is forgotten either way.
    // Memory stays within a small multiple of the file's size, whatever it holds.
    bool Load(const QString& file);
    // The same from bytes already in memory; fileName is what Filename reports afterwards.
    bool LoadBytes(const QByteArray& bytes, const QString& fileName);
    // Takes entries read elsewhere (a subtitle track inside a video) as a file's, with name as
    // the Filename. One entry is enough here: a track's cues are never guessed from stray lines.
    // False, and the reader empty, when there is none.
    bool LoadEntries(const std::shared_ptr<SubtitleStore>& entries, const QString& name);
    // Puts more of the same source's entries (a track read further) in place of those loaded;
    // the name, the delay and the frame-rate override stay. False, and nothing changed, when
    // nothing is loaded or there are no entries.
    bool ReplaceEntries(const std::shared_ptr<SubtitleStore>& entries);
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
    int Count() const { return m_table.size(); }
    // Every entry as an object of its own, in order of start time: for tools and tests on small
    // files. The player asks for one entry at a time and never holds them all.
    std::vector<SubtitlePtr> Entries() const;
    // Entry n (1-based, as CurrentIndex counts) of the loaded entries in order of start time.
    // Asked twice in a row for the same entry it gives the same object, as the lookup does.
    SubtitlePtr Entry(int n) const;
    // 1-based index where the last lookup stopped; 0 for none.
    int CurrentIndex() const { return m_currentIndex; }

private:
    bool parse(qint64 size, const std::function<bool(SubtitleTable&)>& read);
    void parseLine(QStringView line, SubtitleTable& table, bool& inEntry);
    bool takeEntries(const std::shared_ptr<SubtitleStore>& entries);
    Currency lookupKey(Currency time, int32_t videoFrus) const;

    QString m_fileName;
    QString m_encoding;
    SubtitleTable m_table;
    SubtitleTimeline m_timeline;
    int m_currentIndex = 0;
    // The entry object handed out last: the same entry asked for again is the same object.
    mutable SubtitlePtr m_handedOut;
    mutable int m_handedOutIndex = 0;
};
