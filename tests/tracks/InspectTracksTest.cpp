// veltrix-inspect on a film with its subtitles inside: the track list, and a track read as the
// subtitles command reads a file.
#include "TrackMedia.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct InspectRun
{
    int status = -1;
    QByteArray out;
    QByteArray err;
};

InspectRun inspect(const QStringList& args)
{
    QProcess process;
    process.start(QStringLiteral(VELTRIX_INSPECT), args);
    process.waitForFinished(30000);
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

TEST(InspectTracks, ListsTheTracksAndReadsOneAsAFile)
{
    QTemporaryDir dir;
    const QString film = TrackMedia::Matroska(QDir(dir.path()));
    ASSERT_FALSE(film.isEmpty());

    const InspectRun list = inspect({"tracks", film});
    ASSERT_EQ(list.status, 0) << list.err.toStdString();
    const QJsonArray tracks = QJsonDocument::fromJson(list.out).array();
    ASSERT_EQ(tracks.size(), 3);
    EXPECT_EQ(tracks[0]["track"].toInt(), 1);
    EXPECT_EQ(tracks[0]["language"].toString(), "eng");
    EXPECT_EQ(tracks[0]["title"].toString(), "Full");
    EXPECT_EQ(tracks[0]["codec"].toString(), "subrip");
    EXPECT_TRUE(tracks[0]["text"].toBool());
    EXPECT_TRUE(tracks[1]["default"].toBool());
    EXPECT_EQ(tracks[2]["codec"].toString(), "hdmv_pgs_subtitle");
    EXPECT_FALSE(tracks[2]["text"].toBool());

    const InspectRun track = inspect({"subtitles", film, "--track", "1", "--at", "3500"});
    const InspectRun file = inspect({"subtitles", TrackMedia::source(QDir(dir.path()), "film.srt"),
                                     "--at", "3500"});
    ASSERT_EQ(track.status, 0) << track.err.toStdString();
    const QJsonObject fromTrack = QJsonDocument::fromJson(track.out).object();
    EXPECT_TRUE(fromTrack["loaded"].toBool());
    EXPECT_EQ(fromTrack["entries"], QJsonDocument::fromJson(file.out).object()["entries"]);
    EXPECT_EQ(fromTrack["lookups"].toArray()[0].toObject()["index"].toInt(), 2);

    // A picture track loads nothing and says why; a track that is not there neither.
    const InspectRun pictures = inspect({"subtitles", film, "--track", "3"});
    EXPECT_EQ(pictures.status, 0);
    EXPECT_FALSE(QJsonDocument::fromJson(pictures.out).object()["loaded"].toBool());
    EXPECT_TRUE(pictures.err.contains(QByteArrayView("pictures")));
    EXPECT_EQ(inspect({"subtitles", film, "--track", "0"}).status, 2);
    EXPECT_NE(inspect({"tracks", dir.filePath("gone.mkv")}).status, 0);
}

} // namespace
