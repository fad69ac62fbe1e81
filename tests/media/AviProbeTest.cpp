#include "media/AviProbe.h"

#include "platform/Currency.h"

#include "TempFiles.h"

#include <QtEndian>

#include <gtest/gtest.h>

namespace {

QByteArray aviHeader(qint32 microsecondsPerFrame, const char* chunkId = "avih")
{
    QByteArray bytes("RIFF\0\0\0\0AVI LIST\0\0\0\0hdrl", 24);
    bytes.append(chunkId, 4);
    bytes.append("\x38\0\0\0", 4);
    char value[4];
    qToLittleEndian<qint32>(microsecondsPerFrame, value);
    bytes.append(value, 4);
    bytes.append(QByteArray(56, '\0'));
    return bytes;
}

} // namespace

TEST(AviProbe, ReadsFrameDurationFromTheMainHeaderAndOfNothingElse)
{
    TempFiles files;
    EXPECT_EQ(ProbeAviFrameDuration(files.write("film.avi", aviHeader(41708))), 41708);
    EXPECT_NEAR(FramesPerSecond(41708), 23.9762, 1e-4);
    EXPECT_EQ(FrameAtPosition(10.0, 41708).toString(), "239.7622");

    // The field is signed: a broken header may hold a negative duration, which is passed on.
    EXPECT_EQ(ProbeAviFrameDuration(QByteArrayView(aviHeader(-1))), -1);

    // Anything else has no frame rate.
    EXPECT_EQ(ProbeAviFrameDuration(QByteArrayView(aviHeader(40000, "AVIH"))), 0);
    EXPECT_EQ(ProbeAviFrameDuration(QByteArrayView(aviHeader(40000).left(35))), 0);
    EXPECT_EQ(ProbeAviFrameDuration(QByteArrayView(aviHeader(40000).left(36))), 40000);
    EXPECT_EQ(ProbeAviFrameDuration(files.path("missing.avi")), 0);
    EXPECT_EQ(ProbeAviFrameDuration(files.path("")), 0);  // a folder cannot be read as a file
    EXPECT_EQ(FramesPerSecond(0), 0.0);
    EXPECT_EQ(FrameAtPosition(10.0, 0).raw(), 0);
    EXPECT_EQ(FrameAtPosition(1e12, 1).raw(), 0);      // does not fit: no frame number
}
