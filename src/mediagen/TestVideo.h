#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

// Small videos that tests and the demo write themselves, so that nothing binary is committed and
// both engines are exercised on media whose every property is known.
// How the pictures are stored: uncompressed pixels are exact, Motion JPEG is ten to fifty times
// smaller (what the demo uses) and still keeps the frame counter legible.
enum class TestVideoCodec { Uncompressed, MotionJpeg };

struct TestVideoFormat {
    int width = 160;
    int height = 120;
    int32_t microsecondsPerFrame = 40000;
    int frames = 100;
    bool audio = false;
    int sampleRate = 22050;
    // The frame's number in white seven-segment digits on a black panel at the top left, so a
    // viewer (or a screenshot) can tell which frame is on screen.
    bool frameCounter = false;
    TestVideoCodec codec = TestVideoCodec::Uncompressed;
};

// The picture's background: the orange a screenshot test looks for.
constexpr uint8_t kTestVideoRed = 240;
constexpr uint8_t kTestVideoGreen = 120;
constexpr uint8_t kTestVideoBlue = 20;

// One frame as top-down rows of blue, green, red bytes: the orange background with a white
// square that moves one step per frame, so a playing video visibly changes, and with
// format.frameCounter the frame's number.
QByteArray TestVideoFrame(const TestVideoFormat& format, int index);

// The number the frame counter of a frame made by TestVideoFrame shows, or -1 when the frame
// has no legible counter (wrong size, counter off, a segment neither lit nor dark).
int ReadTestVideoFrameCounter(const TestVideoFormat& format, const QByteArray& frame);

// An AVI of format.codec: "avih" at offset 24 with the frame duration, uncompressed rows stored
// bottom-up (GStreamer refuses top-down uncompressed AVI), an index, and with format.audio a
// 16-bit mono PCM tone interleaved per frame. Returns false when the file cannot be written.
bool WriteTestAvi(const QString& path, const TestVideoFormat& format);
