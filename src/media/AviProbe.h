#pragma once

#include "platform/Currency.h"

#include <QByteArrayView>
#include <QString>

#include <cstdint>

// Reads the video's frame duration from the AVI main header. Subtitle files that count frames
// need it, and the playback engines do not report it.
//
// A file counts as AVI exactly when the four bytes at offset 24 are "avih" (the header list
// first, as AVI writers place it); the frame duration is then the signed 32-bit little-endian
// value at offset 32. Anything else, including a file that cannot be read, gives 0: "no frame
// rate". Never fails towards the caller.
int32_t ProbeAviFrameDuration(const QString& path);
int32_t ProbeAviFrameDuration(QByteArrayView header);

// Frames per second for a frame duration in microseconds; 0 when the duration is 0.
double FramesPerSecond(int32_t microsecondsPerFrame);

// The frame number at a position in seconds, to four decimals (halves to even); 0 when the
// duration is 0 or the result does not fit.
Currency FrameAtPosition(double positionSeconds, int32_t microsecondsPerFrame);
