// The demo the run script plays: small, frames that carry their number legibly through the
// JPEG compression, subtitles that fit its length.
#include "mediagen/FrameEncoding.h"
#include "mediagen/TestVideo.h"

#include "media/AviProbe.h"
#include "subtitles/SubtitleReader.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

namespace {
int runGenerator(const QStringList& arguments)
{
    QProcess generator;
    generator.start(QStringLiteral(VELTRIX_MAKE_DEMO), arguments);
    if (!generator.waitForFinished(60000))
        return -1;
    return generator.exitStatus() == QProcess::NormalExit ? generator.exitCode() : -1;
}

// The payloads of the chunks with the given id in an AVI's "movi" list, in file order.
std::vector<QByteArray> moviChunks(const QString& path, const char* id)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray avi = file.readAll();
    std::vector<QByteArray> chunks;
    qsizetype at = avi.indexOf("movi");
    if (at < 0)
        return {};
    for (at += 4; at + 8 <= avi.size();) {
        const auto size = qFromLittleEndian<uint32_t>(avi.constData() + at + 4);
        if (avi.mid(at, 4) == "idx1" || at + 8 + qsizetype(size) > avi.size())
            break;
        if (avi.mid(at, 4) == id)
            chunks.push_back(avi.mid(at + 8, size));
        at += 8 + size + (size % 2);
    }
    return chunks;
}
}  // namespace

TEST(Demo, IsASmall25FpsVideoWithSubtitlesThatEndWithinIt)
{
    QTemporaryDir dir;
    const QString demo = dir.filePath(QStringLiteral("Demo.avi"));
    ASSERT_EQ(runGenerator({demo}), 0);
    EXPECT_LT(QFileInfo(demo).size(), 10 * 1024 * 1024);
    EXPECT_EQ(ProbeAviFrameDuration(demo), 40000);
    const std::vector<QByteArray> frames = moviChunks(demo, "00dc");
    ASSERT_EQ(frames.size(), 300u);
    const TestVideoFormat format{.width = 640, .height = 360, .frames = 300, .frameCounter = true,
                                 .codec = TestVideoCodec::MotionJpeg};
    for (int index = 0; index < 300; ++index)
        EXPECT_EQ(ReadTestVideoFrameCounter(format, DecodeTestVideoFrame(format, frames[index])),
                  index);

    const QString video = dir.filePath(QStringLiteral("sub folder/Demo Clip.avi"));
    ASSERT_EQ(runGenerator({video, QStringLiteral("20")}), 0);
    EXPECT_EQ(moviChunks(video, "00dc").size(), 500u);
    SubtitleReader reader;
    ASSERT_TRUE(reader.Load(dir.filePath(QStringLiteral("sub folder/Demo Clip.srt"))));
    // Two rounds of the four entries fit in 20 seconds; the third round's first would not.
    EXPECT_TRUE(reader.GetSubtitle(Currency::fromDouble(5500).value(), 0));
    EXPECT_TRUE(reader.GetSubtitle(Currency::fromDouble(18000).value(), 0));
    EXPECT_FALSE(reader.GetSubtitle(Currency::fromDouble(19500).value(), 0));

    for (const QStringList& wrong : {QStringList{}, QStringList{video, QStringLiteral("0")},
                                     QStringList{video, QStringLiteral("ten")},
                                     QStringList{video, QStringLiteral("5"), QStringLiteral("x")}})
        EXPECT_EQ(runGenerator(wrong), 2) << wrong.join(QLatin1Char(' ')).toStdString();
}
