#include "mediagen/FrameEncoding.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>

namespace {

// No visible blocks around the digits and the square; the twelve-second demo stays near 3 MB.
// (The counter itself stays legible down to far lower qualities.)
constexpr int kJpegQuality = 90;

qsizetype rowBytes(const TestVideoFormat& format)
{
    return (qsizetype(format.width) * 3 + 3) / 4 * 4;
}

}  // namespace

uint32_t UncompressedFrameBytes(const TestVideoFormat& format)
{
    return uint32_t(rowBytes(format) * format.height);
}

QByteArray EncodeTestVideoFrame(const TestVideoFormat& format, const QByteArray& topDown)
{
    const int lineBytes = format.width * 3;
    if (format.codec == TestVideoCodec::MotionJpeg) {
        const QImage picture(reinterpret_cast<const uchar*>(topDown.constData()), format.width,
                             format.height, lineBytes, QImage::Format_BGR888);
        QByteArray jpeg;
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "jpeg");
        writer.setQuality(kJpegQuality);
        return writer.write(picture) ? jpeg : QByteArray();
    }
    QByteArray chunk;
    chunk.reserve(UncompressedFrameBytes(format));
    const QByteArray padding(rowBytes(format) - lineBytes, '\0');
    for (int y = format.height - 1; y >= 0; --y) {
        chunk.append(topDown.constData() + qsizetype(y) * lineBytes, lineBytes);
        chunk.append(padding);
    }
    return chunk;
}

QByteArray DecodeTestVideoFrame(const TestVideoFormat& format, const QByteArray& chunk)
{
    const int lineBytes = format.width * 3;
    QByteArray frame;
    if (format.codec == TestVideoCodec::MotionJpeg) {
        const QImage picture = QImage::fromData(chunk, "JPEG").convertToFormat(QImage::Format_BGR888);
        if (picture.size() != QSize(format.width, format.height))
            return {};
        for (int y = 0; y < format.height; ++y)
            frame.append(reinterpret_cast<const char*>(picture.constScanLine(y)), lineBytes);
        return frame;
    }
    if (chunk.size() != qsizetype(UncompressedFrameBytes(format)))
        return {};
    for (int y = format.height - 1; y >= 0; --y)
        frame.append(chunk.constData() + y * rowBytes(format), lineBytes);
    return frame;
}
