#include "TempFiles.h"
#include "TrackMedia.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

struct InspectRun
{
    int status = -1;
    QByteArray out;
    QByteArray err;
    QJsonObject json() const { return QJsonDocument::fromJson(out).object(); }
};

InspectRun inspect(const QStringList& args,
                   const QString& program = QStringLiteral(VELTRIX_INSPECT))
{
    QProcess process;
    process.start(program, args);
    process.waitForFinished(30000);
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

// Each field of `expected` holds its value in `object`; fields not named are not looked at.
void ExpectFields(const QJsonValue& object, const QJsonObject& expected)
{
    for (auto field = expected.begin(); field != expected.end(); ++field)
        EXPECT_EQ(object[field.key()], field.value())
            << field.key().toStdString() << " in "
            << QJsonDocument(object.toObject()).toJson(QJsonDocument::Compact).toStdString();
}

const QByteArray Srt = "1\r\n00:00:01,000 --> 00:00:02,000\r\n<i>One</i>|two\r\n\r\n"
                       "2\r\n00:00:03,000 --> 00:00:04,000\r\n\"Quoted\" \\ back\r\n";

} // namespace

TEST(Inspect, SubtitlesAsJsonWithLookupsInSequenceSummedUpAndMissing)
{
    TempFiles files;
    InspectRun run = inspect({"subtitles", files.write("a.srt", Srt), "--at", "1500", "--at",
                              "2500", "--at", "3000.0001", "--delay", "0"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    QJsonObject json = run.json();
    ExpectFields(json, {{"loaded", true}, {"frames", false}, {"encoding", "UTF-8"}});
    const QJsonArray entries = json["entries"].toArray();
    ASSERT_EQ(entries.size(), 2);
    ExpectFields(entries[0], {{"time1", "1000.0000"}, {"time2", "2000.0000"}, {"italic", true},
                              {"text", "One\r\ntwo"}});
    EXPECT_EQ(entries[1]["text"].toString(), "\"Quoted\" \\ back");
    const QJsonArray lookups = json["lookups"].toArray();
    ASSERT_EQ(lookups.size(), 3);
    ExpectFields(lookups[0], {{"at", "1500.0000"}, {"index", 1}});
    EXPECT_TRUE(lookups[1]["index"].isNull());
    EXPECT_EQ(lookups[2]["index"].toInt(), 2);

    // A frame-based file, summed up, with the video's frame duration, a delay and an override.
    run = inspect({"subtitles", files.write("a.sub", "{100}{200}a\r\n{300}{400}b\r\n"),
                   "--summary", "--frus", "40000", "--delay", "1000", "--at", "126", "--fps", "25",
                   "--at", "425"});
    ASSERT_EQ(run.status, 0);
    json = run.json();
    ExpectFields(json, {{"frames", true}, {"count", 2}});
    EXPECT_FALSE(json.contains("entries"));
    EXPECT_EQ(json["lookups"][0]["index"].toInt(), 1);
    EXPECT_EQ(json["lookups"][1]["index"].toInt(), 2);

    run = inspect({"subtitles", files.path("missing.srt")});
    EXPECT_EQ(run.status, 0);
    ExpectFields(run.json(), {{"loaded", false}, {"entries", QJsonArray()}});
}

TEST(Inspect, AviUsageErrorsAndAloneWithoutTheMediaInspector)
{
    TempFiles files;
    QByteArray header("RIFF\0\0\0\0AVI LIST\0\0\0\0hdrlavih\x38\0\0\0\xec\xa2\0\0", 36);
    InspectRun run = inspect({"avi", files.write("a.avi", header)});
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(run.json()["frus"].toInt(), 41708);
    EXPECT_NEAR(run.json()["fps"].toDouble(), 23.976215, 1e-6);
    // A FIFO is no video: not read, so nothing blocks (no writer would ever come).
    ASSERT_EQ(mkfifo(qPrintable(files.path("fifo.avi")), 0600), 0);
    run = inspect({"avi", files.path("fifo.avi")});
    ExpectFields(run.json(), {{"frus", 0}, {"fps", 0}});
    EXPECT_FALSE(run.err.isEmpty());

    for (const QStringList& bad : {QStringList{}, QStringList{"subtitles"},
                                   QStringList{"subtitles", "a.srt", "--at"},
                                   QStringList{"subtitles", "a.srt", "--delay", "1.5"},
                                   QStringList{"subtitles", "a.srt", "--fps", "fast"},
                                   QStringList{"subtitles", "a.srt", "--bogus", "1"},
                                   QStringList{"avi"}, QStringList{"play", "x"}}) {
        run = inspect(bad);
        EXPECT_EQ(run.status, 2) << bad.join(' ').toStdString();
        EXPECT_FALSE(run.err.isEmpty());
        EXPECT_TRUE(run.out.isEmpty());
    }

    // Subtitle files are read without the media inspector; what needs it says so when it is
    // missing.
    const QString alone = files.path("veltrix-inspect");
    ASSERT_TRUE(QFile::copy(QStringLiteral(VELTRIX_INSPECT), alone));
    run = inspect({"subtitles", files.write("a.srt", Srt), "--summary"}, alone);
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.json()["count"].toInt(), 2);

    run = inspect({"subtitles", files.path("a.mkv"), "--track", "1"}, alone);
    EXPECT_EQ(run.status, 0);
    EXPECT_FALSE(run.json()["loaded"].toBool(true));
    EXPECT_TRUE(run.err.contains("media inspector")) << run.err.toStdString();
    for (const char* command : {"tracks", "sync"}) {
        run = inspect({command, files.path("a.mkv"), files.path("a.srt")}, alone);
        EXPECT_EQ(run.status, 1) << command;
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.contains("media inspector")) << run.err.toStdString();
    }
}

TEST(Inspect, TracksListedAndOneReadAndLookedUpIn)
{
    QTemporaryDir dir;
    const QString film = TrackMedia::Matroska(QDir(dir.path()));
    ASSERT_FALSE(film.isEmpty());

    const InspectRun list = inspect({"tracks", film});
    ASSERT_EQ(list.status, 0) << list.err.toStdString();
    const QJsonArray tracks = QJsonDocument::fromJson(list.out).array();
    ASSERT_EQ(tracks.size(), 3);
    ExpectFields(tracks[0], {{"track", 1}, {"language", "eng"}, {"title", "Full"},
                             {"codec", "subrip"}, {"text", true}});
    EXPECT_TRUE(tracks[1]["default"].toBool());
    ExpectFields(tracks[2], {{"codec", "hdmv_pgs_subtitle"}, {"text", false}});

    // The entries equal the SubRip file's: the track reader's test, for three containers.
    const InspectRun track = inspect({"subtitles", film, "--track", "1", "--at", "3500"});
    ASSERT_EQ(track.status, 0) << track.err.toStdString();
    EXPECT_EQ(track.json()["entries"].toArray().size(), 3);
    EXPECT_EQ(track.json()["lookups"][0]["index"].toInt(), 2);

    // A picture track loads nothing and says why; a track that is not there neither.
    const InspectRun pictures = inspect({"subtitles", film, "--track", "3"});
    EXPECT_EQ(pictures.status, 0);
    EXPECT_FALSE(pictures.json()["loaded"].toBool());
    EXPECT_TRUE(pictures.err.contains(QByteArrayView("pictures")));
    EXPECT_EQ(inspect({"subtitles", film, "--track", "0"}).status, 2);
    EXPECT_NE(inspect({"tracks", dir.filePath("gone.mkv")}).status, 0);
}

TEST(Inspect, MatchTellsWhatIsTriedWhyNotAndWhatLoads)
{
    TempFiles files;
    files.write("clip.mp4", "");
    const QString own = files.write("clip.srt", Srt);   // the order of scores is discovery's test
    files.write("clip.S01E02.srt", Srt);
    const InspectRun run = inspect({"match", files.path("clip.mp4"), files.path("none/x.srt")});
    ASSERT_EQ(run.status, 0);
    const QJsonArray candidates = QJsonDocument::fromJson(run.out).array();
    ASSERT_EQ(candidates.size(), 2);
    ExpectFields(candidates[0], {{"path", own}, {"tried", true}, {"loads", true}, {"reason", ""}});
    ExpectFields(candidates[1],
                 {{"tried", false}, {"loads", false}, {"reason", "an earlier file loaded"}});
}
