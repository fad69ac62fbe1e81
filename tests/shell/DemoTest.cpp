// The demo the run script plays: frames that carry their number, subtitles that fit its length.
#include "mediagen/TestVideo.h"

#include "media/AviProbe.h"
#include "subtitles/SubtitleReader.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

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
}  // namespace

TEST(FrameCounter, EveryFrameReadsAsItsOwnNumberAtEverySize)
{
    for (const auto& [width, height, frames] : {std::tuple{640, 360, 300},
                                                std::tuple{160, 120, 100},
                                                std::tuple{320, 240, 12000}}) {
        TestVideoFormat format;
        format.width = width;
        format.height = height;
        format.frames = frames;
        format.frameCounter = true;
        for (int index : {0, 1, 7, 10, 58, 99, frames - 1})
            EXPECT_EQ(ReadTestVideoFrameCounter(format, TestVideoFrame(format, index)), index)
                << width << "x" << height << " frame " << index;
    }
}

TEST(FrameCounter, OffLeavesThePictureAsItWas)
{
    TestVideoFormat plain;
    TestVideoFormat counted = plain;
    counted.frameCounter = true;
    const QByteArray without = TestVideoFrame(plain, 5);
    const QByteArray with = TestVideoFrame(counted, 5);
    EXPECT_EQ(ReadTestVideoFrameCounter(counted, without), -1);
    EXPECT_EQ(ReadTestVideoFrameCounter(plain, with), -1);
    ASSERT_EQ(with.size(), without.size());
    EXPECT_NE(with, without);
    // The lower half (the square's row and below) is untouched by the counter.
    const qsizetype half = without.size() / 2;
    EXPECT_EQ(with.mid(half), without.mid(half));
}

TEST(Demo, WritesA25FpsVideoAndSubtitlesThatEndWithinIt)
{
    QTemporaryDir dir;
    const QString video = dir.filePath(QStringLiteral("sub folder/Demo Clip.avi"));
    const QString subtitles = dir.filePath(QStringLiteral("sub folder/Demo Clip.srt"));
    ASSERT_EQ(runGenerator({video, QStringLiteral("20")}), 0);
    EXPECT_EQ(ProbeAviFrameDuration(video), 40000);
    SubtitleReader reader;
    ASSERT_TRUE(reader.Load(subtitles));
    // Two rounds of the four entries fit in 20 seconds; the third round's first would not.
    EXPECT_TRUE(reader.GetSubtitle(Currency::fromDouble(5500).value(), 0));
    EXPECT_TRUE(reader.GetSubtitle(Currency::fromDouble(18000).value(), 0));
    EXPECT_FALSE(reader.GetSubtitle(Currency::fromDouble(19500).value(), 0));

    for (const QStringList& wrong : {QStringList{}, QStringList{video, QStringLiteral("0")},
                                     QStringList{video, QStringLiteral("ten")},
                                     QStringList{video, QStringLiteral("5"), QStringLiteral("x")}})
        EXPECT_EQ(runGenerator(wrong), 2) << wrong.join(QLatin1Char(' ')).toStdString();
}
