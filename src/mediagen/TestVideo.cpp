#include "mediagen/TestVideo.h"

#include "mediagen/FrameCounter.h"
#include "mediagen/FrameEncoding.h"

#include <QFile>
#include <QtEndian>

#include <algorithm>
#include <cmath>

namespace {

void put32(QByteArray& out, uint32_t value)
{
    char bytes[4];
    qToLittleEndian<uint32_t>(value, bytes);
    out.append(bytes, 4);
}

void put16(QByteArray& out, uint16_t value)
{
    char bytes[2];
    qToLittleEndian<uint16_t>(value, bytes);
    out.append(bytes, 2);
}

void patch32(QByteArray& out, qsizetype at, uint32_t value)
{
    qToLittleEndian<uint32_t>(value, out.data() + at);
}

// Writes id and a size placeholder; returns where the size goes.
qsizetype beginChunk(QByteArray& out, const char* id)
{
    out.append(id, 4);
    const qsizetype sizeAt = out.size();
    put32(out, 0);
    return sizeAt;
}

void endChunk(QByteArray& out, qsizetype sizeAt)
{
    patch32(out, sizeAt, uint32_t(out.size() - sizeAt - 4));
    if (out.size() % 2)
        out.append('\0');
}

qsizetype beginList(QByteArray& out, const char* listType)
{
    const qsizetype sizeAt = beginChunk(out, "LIST");
    out.append(listType, 4);
    return sizeAt;
}

int samplesForFrame(const TestVideoFormat& format, int index)
{
    const auto start = int64_t(index) * format.microsecondsPerFrame * format.sampleRate / 1000000;
    const auto end = int64_t(index + 1) * format.microsecondsPerFrame * format.sampleRate / 1000000;
    return int(end - start);
}

QByteArray toneSamples(const TestVideoFormat& format, int index)
{
    const int64_t first = int64_t(index) * format.microsecondsPerFrame * format.sampleRate / 1000000;
    QByteArray out;
    for (int i = 0; i < samplesForFrame(format, index); ++i) {
        const double t = double(first + i) / format.sampleRate;
        put16(out, uint16_t(int16_t(std::lround(8000 * std::sin(2 * M_PI * 440 * t)))));
    }
    return out;
}

void writeVideoStreamHeader(QByteArray& out, const TestVideoFormat& format, uint32_t frameBytes)
{
    const qsizetype strl = beginList(out, "strl");
    const qsizetype strh = beginChunk(out, "strh");
    const bool jpeg = format.codec == TestVideoCodec::MotionJpeg;
    out.append("vids", 4);
    out.append(jpeg ? "MJPG" : "DIB ", 4);
    put32(out, 0);                                    // flags
    put32(out, 0);                                    // priority, language
    put32(out, 0);                                    // initial frames
    put32(out, uint32_t(format.microsecondsPerFrame));  // scale: rate / scale is frames per second
    put32(out, 1000000);
    put32(out, 0);                                    // start
    put32(out, uint32_t(format.frames));
    put32(out, frameBytes);
    put32(out, 0xFFFFFFFFu);                          // quality: default
    put32(out, 0);                                    // sample size: varies
    put16(out, 0);
    put16(out, 0);
    put16(out, uint16_t(format.width));
    put16(out, uint16_t(format.height));
    endChunk(out, strh);
    const qsizetype strf = beginChunk(out, "strf");
    put32(out, 40);
    put32(out, uint32_t(format.width));
    put32(out, uint32_t(format.height));  // positive height: rows bottom-up
    put16(out, 1);
    put16(out, 24);
    if (jpeg)
        out.append("MJPG", 4);
    else
        put32(out, 0);  // BI_RGB
    put32(out, frameBytes);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    endChunk(out, strf);
    endChunk(out, strl);
}

void writeAudioStreamHeader(QByteArray& out, const TestVideoFormat& format)
{
    const uint32_t blockAlign = 2;
    const uint32_t totalSamples = uint32_t(
        int64_t(format.frames) * format.microsecondsPerFrame * format.sampleRate / 1000000);
    const qsizetype strl = beginList(out, "strl");
    const qsizetype strh = beginChunk(out, "strh");
    out.append("auds", 4);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    put32(out, blockAlign);
    put32(out, uint32_t(format.sampleRate) * blockAlign);
    put32(out, 0);
    put32(out, totalSamples);
    put32(out, uint32_t(format.sampleRate) * blockAlign);
    put32(out, 0xFFFFFFFFu);
    put32(out, blockAlign);
    put32(out, 0);
    put32(out, 0);
    endChunk(out, strh);
    const qsizetype strf = beginChunk(out, "strf");
    put16(out, 1);  // PCM
    put16(out, 1);
    put32(out, uint32_t(format.sampleRate));
    put32(out, uint32_t(format.sampleRate) * blockAlign);
    put16(out, uint16_t(blockAlign));
    put16(out, 16);
    put16(out, 0);
    endChunk(out, strf);
    endChunk(out, strl);
}

struct IndexEntry {
    const char* id;
    uint32_t offset;
    uint32_t size;
};

}  // namespace

QByteArray TestVideoFrame(const TestVideoFormat& format, int index)
{
    QByteArray frame(qsizetype(format.width) * format.height * 3, '\0');
    const int side = std::max(4, format.height / 4);
    const int travel = std::max(1, format.width - side);
    const int left = (index * 4) % travel;
    const int top = (format.height - side) / 2;
    // Two kinds of row, built once and copied: the demo's generator draws thousands of frames.
    const qsizetype lineBytes = qsizetype(format.width) * 3;
    QByteArray background(lineBytes, '\0');
    for (qsizetype x = 0; x < format.width; ++x) {
        background[x * 3] = char(kTestVideoBlue);
        background[x * 3 + 1] = char(kTestVideoGreen);
        background[x * 3 + 2] = char(kTestVideoRed);
    }
    QByteArray squareRow = background;
    const int right = std::min(format.width, left + side);
    std::fill(squareRow.begin() + qsizetype(left) * 3, squareRow.begin() + qsizetype(right) * 3,
              char(255));
    for (int y = 0; y < format.height; ++y) {
        const QByteArray& row = y >= top && y < top + side ? squareRow : background;
        std::copy(row.cbegin(), row.cend(), frame.begin() + qsizetype(y) * lineBytes);
    }
    if (format.frameCounter)
        DrawFrameCounter(frame, format, index);
    return frame;
}

bool WriteTestAvi(const QString& path, const TestVideoFormat& format)
{
    if (format.width <= 0 || format.height <= 0 || format.frames <= 0 || format.microsecondsPerFrame <= 0)
        return false;
    // The uncompressed size bounds a JPEG frame too: the headers announce it for both codecs.
    const uint32_t frameBytes = UncompressedFrameBytes(format);
    const char* const videoChunk = format.codec == TestVideoCodec::MotionJpeg ? "00dc" : "00db";
    QByteArray out;
    const qsizetype riff = beginChunk(out, "RIFF");
    out.append("AVI ", 4);
    const qsizetype hdrl = beginList(out, "hdrl");
    const qsizetype avih = beginChunk(out, "avih");
    put32(out, uint32_t(format.microsecondsPerFrame));
    put32(out, uint32_t(int64_t(frameBytes) * 1000000 / format.microsecondsPerFrame));
    put32(out, 0);
    put32(out, 0x10);  // has an index
    put32(out, uint32_t(format.frames));
    put32(out, 0);
    put32(out, format.audio ? 2 : 1);
    put32(out, frameBytes);
    put32(out, uint32_t(format.width));
    put32(out, uint32_t(format.height));
    for (int i = 0; i < 4; ++i)
        put32(out, 0);
    endChunk(out, avih);
    writeVideoStreamHeader(out, format, frameBytes);
    if (format.audio)
        writeAudioStreamHeader(out, format);
    endChunk(out, hdrl);

    std::vector<IndexEntry> index;
    const qsizetype movi = beginList(out, "movi");
    const qsizetype moviStart = movi + 4;  // index offsets count from the "movi" type
    for (int f = 0; f < format.frames; ++f) {
        const QByteArray picture = EncodeTestVideoFrame(format, TestVideoFrame(format, f));
        if (picture.isEmpty())
            return false;
        index.push_back({videoChunk, uint32_t(out.size() - moviStart), uint32_t(picture.size())});
        const qsizetype chunk = beginChunk(out, videoChunk);
        out.append(picture);
        endChunk(out, chunk);
        if (format.audio) {
            const QByteArray samples = toneSamples(format, f);
            index.push_back({"01wb", uint32_t(out.size() - moviStart), uint32_t(samples.size())});
            const qsizetype audioChunk = beginChunk(out, "01wb");
            out.append(samples);
            endChunk(out, audioChunk);
        }
    }
    endChunk(out, movi);
    const qsizetype idx1 = beginChunk(out, "idx1");
    for (const IndexEntry& entry : index) {
        out.append(entry.id, 4);
        put32(out, 0x10);  // key frame
        put32(out, entry.offset);
        put32(out, entry.size);
    }
    endChunk(out, idx1);
    endChunk(out, riff);

    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(out) == out.size();
}
