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
}

bool AudioDecoder::Decode(const QString& file, const SampleSink& sink, const Progress& progress,
                          const std::atomic<bool>& cancel)
{
    m_error.clear();
    m_duration = 0;
    if (!gst_init_check(nullptr, nullptr, nullptr)) {
        m_error = QStringLiteral("GStreamer could not be started.");
        return false;
    }
    if (!QFileInfo(file).isFile()) {
        m_error = QStringLiteral("The file %1 does not exist.").arg(file);
        return false;
    }
    // Audio only: the decoder bin stops at raw audio and leaves every other stream undecoded
    // (decoding the picture would cost ten times what the sound does).
    const QByteArray uri = QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()).toEncoded();
    const QByteArray description =
        "uridecodebin name=source caps=audio/x-raw expose-all-streams=false ! audioconvert ! "
        "audioresample quality=2 ! audio/x-raw,format=S16LE,rate=16000,channels=1 ! "
        "appsink name=sink sync=false max-buffers=32";
    GError* parseError = nullptr;
    GstPtr<GstElement> pipeline(gst_parse_launch(description.constData(), &parseError));
    if (parseError)
        g_error_free(parseError);
    if (!pipeline) {
        m_error = QStringLiteral("GStreamer's base plugins are missing.");
        return false;
    }
    GstPtr<GstElement> source(gst_bin_get_by_name(GST_BIN(pipeline.get()), "source"));
    GstPtr<GstElement> appsink(gst_bin_get_by_name(GST_BIN(pipeline.get()), "sink"));
    g_object_set(source.get(), "uri", uri.constData(), nullptr);
    GstPtr<GstBus> bus(gst_element_get_bus(pipeline.get()));

    struct Stopper
    {
        GstElement* pipeline;
        ~Stopper() { gst_element_set_state(pipeline, GST_STATE_NULL); }
    } stopper{pipeline.get()};
    if (gst_element_set_state(pipeline.get(), GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
        m_error = QStringLiteral("The file cannot be decoded.");
        return false;
    }

    int64_t written = 0;
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
            const double share = std::min(1.0, written / (m_duration * SampleRate));
            if (share - lastShare >= 0.01) {
                progress(share);
                lastShare = share;
            }
        }
    }
    if (cancel.load())
        return false;
    if (written == 0) {
        m_error = QStringLiteral("The file has no sound to listen to.");
        return false;
    }
    if (m_duration <= 0)
        m_duration = static_cast<double>(written) / SampleRate;
    return true;
}
