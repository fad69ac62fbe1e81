// Whole subtitle files as bytes: decoding, line classification, markup, and lookups on the result.
#include "subtitles/SubtitleReader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SubtitleReader reader;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (!reader.LoadBytes(bytes, QStringLiteral("fuzz.srt")))
        return 0;
    // Walk the loaded file forwards, then jump back, with a delay and an override on, as a
    // viewer would.
    reader.delay = -250;
    reader.FPS = 25.0;
    for (int n = 1; n <= reader.Count(); ++n) {
        const SubtitlePtr entry = reader.Entry(n);
        reader.GetSubtitle(entry->Time1, 41708);
        reader.GetSubtitle(entry->Time2, 0);
    }
    reader.GetSubtitle(Currency::fromRaw(INT64_MIN), 40000);
    reader.GetSubtitle(Currency::fromRaw(INT64_MAX), -1);
    return 0;
}
