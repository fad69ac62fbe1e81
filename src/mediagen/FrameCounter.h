#pragma once

#include "mediagen/TestVideo.h"

#include <QByteArray>

// Draws the number into a top-down blue-green-red frame of the given format, as seven-segment
// digits: no font is needed, and every segment is a plain rectangle a reader can sample.
void DrawFrameCounter(QByteArray& frame, const TestVideoFormat& format, int number);
