#include "EntryList.h"
#include "TrackMedia.h"

#include "subtitles/SubtitleReader.h"
#include "tracks/TrackCatalog.h"
#include "tracks/TrackLoader.h"
#include "tracks/TrackReader.h"

#include "WaitUntil.h"

#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

namespace {

qint64 residentBytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    const QByteArray text = status.open(QIODevice::ReadOnly) ? status.readAll() : QByteArray();
    const qsizetype at = text.indexOf("VmRSS:");
    return at < 0 ? 0 : text.mid(at + 6).trimmed().split(' ').first().toLongLong() * 1024;
}

class TrackReaderTest : public ::testing::Test {
protected:
    QDir dir() const { return QDir(temp.path()); }

    // The entries of a track as the player loads them.
    static std::vector<SubtitlePtr> entries(const TrackRead& read)
    {
        SubtitleReader reader;
        if (!reader.LoadEntries(read.entries, QStringLiteral("track")))
            return {};
        return reader.Entries();
    }

    // A Matroska file whose only track is the SubRip file of cues one a second.
    QString manyCues(int count, bool withPicture)
    {
        QByteArray srt;
        srt.reserve(count * 48);
        for (int n = 1; n <= count; ++n) {
            const QString at = QString::asprintf("%02d:%02d:%02d", n / 3600, n / 60 % 60, n % 60);
            srt += QStringLiteral("%1\n%2,000 --> %2,800\nCue %1\n\n").arg(n).arg(at).toLatin1();
        }
        EXPECT_TRUE(TrackMedia::write(TrackMedia::source(dir(), "many.srt"), srt));
        const QString out = dir().filePath("many.mkv");
        QStringList args;
        if (withPicture)
            args = TrackMedia::picture(count + 2, "64x64") + QStringList{"-c:v", "mpeg4"};
        args += {"-i", TrackMedia::source(dir(), "many.srt"), "-c:s", "copy", out};
        EXPECT_TRUE(TrackMedia::ffmpeg(args));
        return out;
    }

    QTemporaryDir temp;
};

TEST_F(TrackReaderTest, TracksReadAsTheFilesTheyWereMadeFromOrSayWhyNot)
{
    const QString mkv = TrackMedia::Matroska(dir());
    const QString mp4 = TrackMedia::Converted(dir(), QStringLiteral("film.mp4"));
    const QString webm = TrackMedia::Converted(dir(), QStringLiteral("film.webm"));
    ASSERT_FALSE(mkv.isEmpty() || mp4.isEmpty() || webm.isEmpty());
    for (const QString& video : {mkv, mp4, webm}) {
        SCOPED_TRACE(video.toStdString());
        const TrackRead read = TrackReader::Read(video, 1);
        EXPECT_TRUE(read.complete) << read.problem.toStdString();
        EXPECT_EQ(EntryList(entries(read)),
                  QStringList({"1000 2500 i Hello there,\r\nsecond line", "3000 4000 Fish & chips",
                               "5500 9000 WWWWWWWW"}));
    }
    // ASS events lose their fields and codes, and break lines where the script says.
    EXPECT_EQ(EntryList(entries(TrackReader::Read(mkv, 2))),
              QStringList({"1000 2500 i Hallo, du\r\nzweite Zeile",
                           QStringLiteral(u"5500 9000 Tsch\u00fcss\u00a0jetzt")}));

    // A track's language, title, codec and kind, and a picture track's reason, are checked on
    // veltrix-inspect's output and the menu's labels; an empty track in the menu's test.
    const TrackRead missing = TrackReader::Read(mkv, 4);
    EXPECT_FALSE(missing.track);
    EXPECT_FALSE(missing.problem.isEmpty());
    QString error;
    EXPECT_FALSE(TrackCatalog::List(dir().filePath("gone.mkv"), nullptr, &error));
    EXPECT_FALSE(error.isEmpty());

    // The loader answers on the asking thread and forgets what was cancelled.
    TrackLoader loader;
    bool cancelledAnswered = false;
    loader.ReadTrack(mkv, 1, [&](const TrackRead&) { cancelledAnswered = true; });
    loader.Cancel();
    EXPECT_FALSE(loader.Busy());
    size_t listed = 0;
    QThread* answeredOn = nullptr;
    loader.List(mkv, [&](const auto& tracks) {
        listed = tracks ? tracks->size() : 0;
        answeredOn = QThread::currentThread();
    });
    EXPECT_TRUE(loader.Busy());
    ASSERT_TRUE(WaitUntil([&] { return answeredOn != nullptr; }));
    EXPECT_EQ(answeredOn, QThread::currentThread());
    EXPECT_EQ(listed, 3u);
    EXPECT_FALSE(cancelledAnswered);
    EXPECT_FALSE(loader.Busy());
}

TEST_F(TrackReaderTest, ACutOrDamagedFileGivesTheCuesReadBeforeTheFault)
{
    const QString whole = manyCues(600, true);
    QFile file(whole);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();

    // Read whole, the track is handed over in parts as it is read, each the one before and more.
    size_t parts = 0;
    QStringList last;
    std::shared_ptr<SubtitleStore> firstPart;
    const TrackRead read = TrackReader::Read(whole, 1, nullptr, [&](const TrackRead& soFar) {
        const QStringList part = EntryList(entries(soFar));
        ASSERT_GT(part.size(), last.size());
        ASSERT_EQ(part.first(last.size()), last);
        last = part;
        if (parts++ == 0)
            firstPart = soFar.entries;
    }, 0);
    EXPECT_EQ(last, EntryList(entries(read)));
    EXPECT_GT(parts, 10u);
    // The player loads the first part and puts the whole in place under the same name and delay.
    SubtitleReader reader;
    EXPECT_FALSE(reader.ReplaceEntries(read.entries));   // nothing loaded to add to
    ASSERT_TRUE(reader.LoadEntries(firstPart, QStringLiteral("Film #1")));
    reader.delay = 300;
    ASSERT_TRUE(reader.ReplaceEntries(read.entries));
    EXPECT_EQ(reader.Entries().size(), 600u);
    EXPECT_EQ(reader.Filename(), QStringLiteral("Film #1"));
    EXPECT_EQ(reader.delay, 300);

    const QString cut = dir().filePath("cut.mkv");
    ASSERT_TRUE(TrackMedia::write(cut, bytes.first(bytes.size() / 2)));
    const std::vector<SubtitlePtr> before = entries(TrackReader::Read(cut, 1));
    EXPECT_GT(before.size(), 100u);
    EXPECT_LT(before.size(), 500u);
    for (size_t i = 0; i < before.size(); ++i)
        ASSERT_EQ(before[i]->Text, QStringLiteral("Cue %1").arg(i + 1));

    // A run of garbage in the middle: whatever the demuxer makes of it, the reading ends.
    QByteArray damaged = bytes;
    for (qsizetype i = damaged.size() / 3; i < damaged.size() / 3 + 4096; ++i)
        damaged[i] = static_cast<char>(i * 7919);
    const QString broken = dir().filePath("damaged.mkv");
    ASSERT_TRUE(TrackMedia::write(broken, damaged));
    const std::vector<SubtitlePtr> survived = entries(TrackReader::Read(broken, 1));
    EXPECT_GT(survived.size(), 100u);
    EXPECT_LE(survived.size(), 600u);
}

TEST_F(TrackReaderTest, AHundredThousandCuesLoadWholeInBoundedMemory)
{
    const QString big = manyCues(100000, false);
    const qint64 before = residentBytes();
    const TrackRead read = TrackReader::Read(big, 1);
    EXPECT_TRUE(read.complete);
    const std::vector<SubtitlePtr> all = entries(read);
    ASSERT_EQ(all.size(), 100000u);
    EXPECT_EQ(all.back()->Text, QStringLiteral("Cue 100000"));
    EXPECT_EQ(all.back()->Time1, Currency::fromRaw(100000LL * 1000 * Currency::Scale));
    // Of the order of a hundred bytes a cue, as for a file.
    EXPECT_LT(residentBytes() - before, 64LL * 1024 * 1024);
}

} // namespace
