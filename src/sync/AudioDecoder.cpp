#include "sync/AudioDecoder.h"

#include <gst/app/gstappsink.h>
#include <gst/gst.h>

#include <QFileInfo>
#include <QUrl>

#include <memory>
#include <vector>

namespace {
struct Unref
{
    void operator()(GstElement* e) const { gst_object_unref(e); }
    void operator()(GstBus* b) const { gst_object_unref(b); }
    void operator()(GstSample* s) const { gst_sample_unref(s); }
    void operator()(GstMessage* m) const { gst_message_unref(m); }
};
template <typename T> using GstPtr = std::unique_ptr<T, Unref>;

// How long one wait for a sample may take before the cancel flag is looked at again.
constexpr GstClockTime PullWait = 50 * GST_MSECOND;

QString messageText(GstMessage* message)
{
    GError* error = nullptr;
    gst_message_parse_error(message, &error, nullptr);
    QString text = error ? QString::fromUtf8(error->message) : QString();
    if (error)
        g_error_free(error);
    return text;
}

// The decoding pipeline for the file, or null when GStreamer or its base plugins are missing.
GstElement* makePipeline(const QString& file)
{
    // Audio only: the decoder bin stops at raw audio and leaves every other stream undecoded
    // (decoding the picture would cost ten times what the sound does).
    const QByteArray uri = QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()).toEncoded();
    const QByteArray description =
        "uridecodebin name=source caps=audio/x-raw expose-all-streams=false ! audioconvert ! "
        "audioresample quality=2 ! audio/x-raw,format=S16LE,rate=16000,channels=1 ! "
        "appsink name=sink sync=false max-buffers=32";
    GError* parseError = nullptr;
    GstElement* pipeline = gst_parse_launch(description.constData(), &parseError);
    if (parseError)
        g_error_free(parseError);
    if (!pipeline)
        return nullptr;
    GstPtr<GstElement> source(gst_bin_get_by_name(GST_BIN(pipeline), "source"));
    g_object_set(source.get(), "uri", uri.constData(), nullptr);
    return pipeline;

}

// Waits until a state change has completed, looking at the cancel flag between waits.
bool settle(GstElement* pipeline, const std::atomic<bool>& cancel)
{
    while (!cancel.load(std::memory_order_relaxed)) {
        const GstStateChangeReturn r = gst_element_get_state(pipeline, nullptr, nullptr, PullWait);
        if (r == GST_STATE_CHANGE_SUCCESS || r == GST_STATE_CHANGE_NO_PREROLL)
            return true;
        if (r == GST_STATE_CHANGE_FAILURE)
            return false;
    }
    return false;
}

bool initGstreamer()
{
    return gst_init_check(nullptr, nullptr, nullptr);
}
}

double AudioDecoder::ProbeDuration(const QString& file, const std::atomic<bool>& cancel)
{
    if (!initGstreamer() || !QFileInfo(file).isFile())
        return 0;
    GstPtr<GstElement> pipeline(makePipeline(file));
    if (!pipeline)
        return 0;
    gint64 nanoseconds = 0;
    if (gst_element_set_state(pipeline.get(), GST_STATE_PAUSED) != GST_STATE_CHANGE_FAILURE &&
        settle(pipeline.get(), cancel))
        gst_element_query_duration(pipeline.get(), GST_FORMAT_TIME, &nanoseconds);
    gst_element_set_state(pipeline.get(), GST_STATE_NULL);
    return nanoseconds > 0 ? static_cast<double>(nanoseconds) / GST_SECOND : 0;
}

bool AudioDecoder::Decode(const QString& file, const SampleSink& sink, const Progress& progress,
                          const std::atomic<bool>& cancel, double from, double to)
{
    m_error.clear();
    m_duration = 0;
    if (!initGstreamer()) {
        m_error = QStringLiteral("GStreamer could not be started.");
        return false;
    }
    if (!QFileInfo(file).isFile()) {
        m_error = QStringLiteral("The file %1 does not exist.").arg(file);
        return false;
    }
    GstPtr<GstElement> pipeline(makePipeline(file));
    if (!pipeline) {
        m_error = QStringLiteral("GStreamer's base plugins are missing.");
        return false;
    }
    GstPtr<GstElement> appsink(gst_bin_get_by_name(GST_BIN(pipeline.get()), "sink"));
    GstPtr<GstBus> bus(gst_element_get_bus(pipeline.get()));

    struct Stopper
    {
        GstElement* pipeline;
        ~Stopper() { gst_element_set_state(pipeline, GST_STATE_NULL); }
    } stopper{pipeline.get()};
    const bool stretch = from > 0 || to > 0;
    if (stretch) {
        // Seeking needs a pipeline that has prerolled; the stop position ends the stream there.
        const bool sought =
            gst_element_set_state(pipeline.get(), GST_STATE_PAUSED) != GST_STATE_CHANGE_FAILURE &&
            settle(pipeline.get(), cancel) &&
            gst_element_seek(pipeline.get(), 1.0, GST_FORMAT_TIME,
                             GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
                             GST_SEEK_TYPE_SET, GstClockTime(from * GST_SECOND),
                             to > 0 ? GST_SEEK_TYPE_SET : GST_SEEK_TYPE_NONE,
                             GstClockTime(to * GST_SECOND));
        if (!sought) {
            if (!cancel.load())
                m_error = QStringLiteral("The file cannot be decoded.");
            return false;
        }
    }
    if (gst_element_set_state(pipeline.get(), GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
        m_error = QStringLiteral("The file cannot be decoded.");
        return false;
    }

    const auto first = static_cast<int64_t>(from * SampleRate);
    int64_t written = first;
    std::vector<int16_t> silence;
    double lastShare = -1;
    while (!cancel.load(std::memory_order_relaxed)) {
        if (GstPtr<GstMessage> message{gst_bus_pop_filtered(bus.get(), GST_MESSAGE_ERROR)}) {
            m_error = messageText(message.get());
            return false;
        }
        GstPtr<GstSample> sample{
            gst_app_sink_try_pull_sample(GST_APP_SINK(appsink.get()), PullWait)};
        if (!sample) {
            if (gst_app_sink_is_eos(GST_APP_SINK(appsink.get())))
                break;
            continue;
        }
        if (m_duration <= 0) {
            gint64 nanoseconds = 0;
            if (gst_element_query_duration(pipeline.get(), GST_FORMAT_TIME, &nanoseconds))
                m_duration = static_cast<double>(nanoseconds) / GST_SECOND;
        }
        GstBuffer* buffer = gst_sample_get_buffer(sample.get());
        GstMapInfo map;
        if (!buffer || !gst_buffer_map(buffer, &map, GST_MAP_READ))
            continue;
        const std::span<const int16_t> samples(reinterpret_cast<const int16_t*>(map.data),
                                               map.size / sizeof(int16_t));
        // A buffer that starts later than the samples written so far leaves a gap (a stream that
        // starts late, a hole in the file): fill it so that later speech keeps its time.
        if (GST_BUFFER_PTS_IS_VALID(buffer)) {
            const int64_t at = static_cast<int64_t>(
                gst_util_uint64_scale(GST_BUFFER_PTS(buffer), SampleRate, GST_SECOND));
            if (at > written + SampleRate / 100) {
                silence.assign(static_cast<size_t>(at - written), 0);
                sink(silence);
                written = at;
            }
        }
        sink(samples);
        written += static_cast<int64_t>(samples.size());
        gst_buffer_unmap(buffer, &map);
        if (progress && m_duration > 0) {
            const double end = (to > 0 ? std::min(to, m_duration) : m_duration) * SampleRate;
            const double share =
                std::min(1.0, static_cast<double>(written - first) / std::max(1.0, end - first));
            if (share - lastShare >= 0.01) {
                progress(share);
                lastShare = share;
            }
        }
    }
    if (cancel.load())
        return false;
    if (written == first) {
        m_error = QStringLiteral("The file has no sound to listen to.");
        return false;
    }
    if (m_duration <= 0)
        m_duration = static_cast<double>(written) / SampleRate;
    return true;
}
