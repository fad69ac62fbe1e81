// One packet of a subtitle track: the first byte picks the track's format, the rest is the
// payload as the demuxer hands it over. The cue then goes through the entry conversion.
#include "tracks/CueCollector.h"
#include "tracks/CueText.h"

#include <cstddef>
#include <cstdint>
#include <iterator>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    constexpr CueFormat Formats[] = {CueFormat::SubRip, CueFormat::Ass, CueFormat::WebVtt,
                                     CueFormat::MovText, CueFormat::Unreadable};
    const CueFormat format = Formats[data[0] % std::size(Formats)];
    const QByteArrayView payload(reinterpret_cast<const char*>(data + 1),
                                 static_cast<qsizetype>(size - 1));
    const CueLines cue = CueText::Read(format, payload);
    CueCollector entries;
    entries.Add(1000, 0, cue);      // open: ended by the next cue
    entries.Add(1000, 500, cue);
    entries.Add(1000, 500, cue);    // same times: merged into the one before
    entries.Finish();
    return 0;
}
