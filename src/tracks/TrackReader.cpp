#include "tracks/TrackReader.h"

#include "tracks/CueCollector.h"
#include "tracks/DemuxInput.h"
#include "tracks/TrackCatalog.h"

extern "C" {
#include <libavformat/avformat.h>
}

#include <QElapsedTimer>

#include <memory>

namespace {

struct PacketDeleter
{
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};

// Milliseconds of the playback position: the engines count from the medium's start, which a few
// containers (MPEG transport streams) put after zero.
int64_t milliseconds(int64_t timestamp, AVRational timeBase, int64_t mediumStart)
{
    const int64_t ms = av_rescale_q(timestamp, timeBase, AVRational{1, 1000});
    return mediumStart == AV_NOPTS_VALUE ? ms : ms - mediumStart / 1000;
}

void readPackets(AVFormatContext& medium, const AVStream& stream, CueFormat format,
                 const std::atomic<bool>* stop, const TrackReader::Progress& progress,
                 int progressMilliseconds, TrackRead& result)
{
    CueCollector cues;
    const std::unique_ptr<AVPacket, PacketDeleter> packet(av_packet_alloc());
    qint64 bytes = 0;
    QElapsedTimer sinceProgress;
    sinceProgress.start();
    size_t cuesInProgress = 0;
    while (true) {
        if (progress && sinceProgress.elapsed() >= progressMilliseconds
            && cues.size() > cuesInProgress) {
            TrackRead soFar;
            soFar.track = result.track;
            soFar.entries = cues.Snapshot();
            progress(soFar);
            cuesInProgress = cues.size();
            sinceProgress.restart();
        }
        if (stop && stop->load(std::memory_order_relaxed)) {
            result.problem = QStringLiteral("stopped");
            break;
        }
        const int status = av_read_frame(&medium, packet.get());
        if (status == AVERROR_EOF) {
            result.complete = true;
            break;
        }
        if (status < 0) {
            // A damaged or cut medium: what was read so far is still good.
            result.problem = DemuxInput::describe(status);
            break;
        }
        const int64_t timestamp = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
        if (packet->stream_index == stream.index && timestamp != AV_NOPTS_VALUE) {
            const qsizetype size = std::min<qsizetype>(packet->size, TrackReader::MaximumCueBytes);
            bytes += size;
            const int64_t start = milliseconds(timestamp, stream.time_base, medium.start_time);
            const int64_t duration =
                av_rescale_q(packet->duration, stream.time_base, AVRational{1, 1000});
            cues.Add(start, duration,
                     CueText::Read(format, QByteArrayView(packet->data, size)));
        }
        av_packet_unref(packet.get());
        if (cues.size() >= TrackReader::MaximumCues || bytes >= TrackReader::MaximumTrackBytes) {
            result.problem = QStringLiteral("the track is larger than a subtitle track can be; "
                                            "the rest is left out");
            break;
        }
    }
    result.entries = cues.Finish();
}

} // namespace

TrackRead TrackReader::Read(const QString& path, int trackNumber, const std::atomic<bool>* stop,
                           const Progress& progress, int progressMilliseconds)
{
    TrackRead result;
    const DemuxInput input(path, stop);
    AVFormatContext* medium = input.context();
    if (!medium) {
        result.problem = input.error();
        return result;
    }
    for (const EmbeddedTrack& track : TrackCatalog::List(*medium)) {
        if (track.number == trackNumber)
            result.track = track;
    }
    if (!result.track) {
        result.problem = QStringLiteral("no subtitle track %1").arg(trackNumber);
        return result;
    }
    if (!result.track->text()) {
        result.problem = result.track->pictures
            ? QStringLiteral("the track holds pictures, not text")
            : QStringLiteral("the track's format (%1) is not supported").arg(result.track->codec);
        return result;
    }
    // Only the chosen track's packets are wanted: the demuxer then skips the video's and the
    // audio's data instead of handing it over.
    for (unsigned i = 0; i < medium->nb_streams; ++i) {
        medium->streams[i]->discard =
            static_cast<int>(i) == result.track->streamIndex ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    }
    readPackets(*medium, *medium->streams[result.track->streamIndex], result.track->format, stop,
                progress, progressMilliseconds, result);
    return result;
}
