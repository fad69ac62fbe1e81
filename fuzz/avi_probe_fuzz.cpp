#include "media/AviProbe.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const int32_t frus = ProbeAviFrameDuration(
        QByteArrayView(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    FrameAtPosition(12.5, frus);
    FramesPerSecond(frus);
    return 0;
}
