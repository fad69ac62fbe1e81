#include "tracks/TrackCatalog.h"

#include "tracks/DemuxInput.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

namespace {

struct KnownCodec
{
    AVCodecID id;
    CueFormat format;
    const char* kind;
};

// The text codecs whose packets CueText reads, and the picture codecs users meet in films.
constexpr KnownCodec KnownCodecs[] = {
    {AV_CODEC_ID_SUBRIP, CueFormat::SubRip, "SubRip"},
    {AV_CODEC_ID_TEXT, CueFormat::SubRip, "plain text"},
    {AV_CODEC_ID_ASS, CueFormat::Ass, "ASS"},
    {AV_CODEC_ID_SSA, CueFormat::Ass, "SSA"},
    {AV_CODEC_ID_WEBVTT, CueFormat::WebVtt, "WebVTT"},
    {AV_CODEC_ID_MOV_TEXT, CueFormat::MovText, "timed text"},
    {AV_CODEC_ID_HDMV_PGS_SUBTITLE, CueFormat::Unreadable, "PGS"},
    {AV_CODEC_ID_DVD_SUBTITLE, CueFormat::Unreadable, "VobSub"},
    {AV_CODEC_ID_DVB_SUBTITLE, CueFormat::Unreadable, "DVB"},
};

QString tag(const AVDictionary* metadata, const char* key)
{
    const AVDictionaryEntry* entry = av_dict_get(metadata, key, nullptr, 0);
    return entry ? QString::fromUtf8(entry->value).trimmed() : QString();
}

EmbeddedTrack describe(const AVStream& stream, int number)
{
    EmbeddedTrack track;
    track.number = number;
    track.streamIndex = stream.index;
    const AVCodecID id = stream.codecpar->codec_id;
    track.codec = QString::fromUtf8(avcodec_get_name(id));
    track.kind = track.codec;
    for (const KnownCodec& known : KnownCodecs) {
        if (known.id == id) {
            track.format = known.format;
            track.kind = QString::fromUtf8(known.kind);
        }
    }
    const AVCodecDescriptor* descriptor = avcodec_descriptor_get(id);
    track.pictures = descriptor && (descriptor->props & AV_CODEC_PROP_BITMAP_SUB);
    track.language = tag(stream.metadata, "language");
    // "und" is the containers' way of saying there is no language tag.
    if (track.language.compare(QLatin1String("und"), Qt::CaseInsensitive) == 0)
        track.language.clear();
    track.title = tag(stream.metadata, "title");
    track.isDefault = stream.disposition & AV_DISPOSITION_DEFAULT;
    return track;
}

} // namespace

std::optional<std::vector<EmbeddedTrack>> TrackCatalog::List(const QString& path,
                                                             const std::atomic<bool>* stop,
                                                             QString* error)
{
    const DemuxInput input(path, stop);
    if (!input.context()) {
        if (error)
            *error = input.error();
        return std::nullopt;
    }
    return List(*input.context());
}

std::vector<EmbeddedTrack> TrackCatalog::List(const AVFormatContext& medium)
{
    std::vector<EmbeddedTrack> tracks;
    for (unsigned i = 0; i < medium.nb_streams; ++i) {
        const AVStream& stream = *medium.streams[i];
        if (stream.codecpar->codec_type == AVMEDIA_TYPE_SUBTITLE)
            tracks.push_back(describe(stream, static_cast<int>(tracks.size()) + 1));
    }
    return tracks;
}
