#pragma once

#include "mediagen/TestVideo.h"

#include <QByteArray>

// A frame as an AVI video chunk holds it, and back: uncompressed rows bottom-up and padded to
// four bytes, or one JPEG picture from Qt's own writer.
QByteArray EncodeTestVideoFrame(const TestVideoFormat& format, const QByteArray& topDown);

// The top-down blue-green-red frame in a chunk written by EncodeTestVideoFrame; empty when the
// chunk does not hold a picture of the format's size.
QByteArray DecodeTestVideoFrame(const TestVideoFormat& format, const QByteArray& chunk);

// The bytes of one uncompressed chunk, which the stream headers announce for either codec.
uint32_t UncompressedFrameBytes(const TestVideoFormat& format);
