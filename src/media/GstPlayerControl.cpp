#include "GstPlayerControl.h"

#include "media/GstCapsSize.h"

#include <gst/audio/streamvolume.h>
#include <gst/gst.h>
#include <gst/video/videooverlay.h>

#include <QFileInfo>
#include <QMetaObject>

#include <cmath>

namespace {

GstElement* makeSink(const char* factory, bool sync)
{
    GstElement* sink = gst_element_factory_make(factory, nullptr);
    if (sink && g_object_class_find_property(G_OBJECT_GET_CLASS(sink), "sync"))
        g_object_set(sink, "sync", sync ? TRUE : FALSE, nullptr);
    return sink;
}

// Runs on whichever thread posts the message, before the bus would queue it.
GstBusSyncReply onBusMessage(GstBus*, GstMessage* message, gpointer control)
{
    static_cast<GstPlayerControl*>(control)->MessagePosted(message);
    return GST_BUS_DROP;
}

}  // namespace

std::unique_ptr<GstPlayerControl> GstPlayerControl::Create(const EngineOptions& options,
                                                           bool openGL, QString* whyNot)
{
    GError* error = nullptr;
    if (!gst_init_check(nullptr, nullptr, &error)) {
        if (whyNot)
            *whyNot = QString::fromUtf8(error ? error->message : "GStreamer did not start");
        g_clear_error(&error);
        return nullptr;
    }
    GstElement* playbin = gst_element_factory_make(options.playbinFactory.constData(), nullptr);
    if (!playbin) {
        if (whyNot)
            *whyNot = QStringLiteral("GStreamer has no element \"%1\"")
                          .arg(QString::fromLatin1(options.playbinFactory));
        return nullptr;
    }
    gst_object_ref_sink(playbin);
    GstVideoOutput video;
    if (options.videoOutput)
        video = GstVideoOutput::Create(openGL);
    GstElement* videoOut = video.Element() ? video.Element() : makeSink("fakesink", true);
    GstElement* audioOut = makeSink(options.audioOutput ? "autoaudiosink" : "fakesink", true);
    if (videoOut)
        g_object_set(playbin, "video-sink", videoOut, nullptr);
    if (audioOut)
        g_object_set(playbin, "audio-sink", audioOut, nullptr);
    // Subtitles are this program's own business; the engine must not draw any it finds. An
    // output that converts and scales by itself gets the decoder's frames as they are, not
    // converted once more before it.
    constexpr guint text = 1 << 2;
    constexpr guint nativeVideo = 1 << 6;
    guint flags = 0;
    g_object_get(playbin, "flags", &flags, nullptr);
    flags &= ~text;
    if (video.Converts())
        flags |= nativeVideo;
    g_object_set(playbin, "flags", flags, nullptr);
    return std::unique_ptr<GstPlayerControl>(new GstPlayerControl(playbin, video));
}

GstPlayerControl::GstPlayerControl(GstElement* playbin, GstVideoOutput video)
    : playbin_(playbin), video_(video), videoSink_(video.Overlay()),
      bus_(gst_element_get_bus(playbin_))
{
    gst_bus_set_sync_handler(bus_, &onBusMessage, this, nullptr);
    applyVolume();
}

GstPlayerControl::~GstPlayerControl()
{
    // Going to NULL joins the streaming threads, so no handler runs once it is removed; a
    // drain already queued is dropped with this object.
    gst_element_set_state(playbin_, GST_STATE_NULL);
    gst_bus_set_sync_handler(bus_, nullptr, nullptr, nullptr);
    for (GstMessage* message : takePosted())
        gst_message_unref(message);
    gst_object_unref(bus_);
    gst_object_unref(playbin_);
}

int GstPlayerControl::OpenState() const
{
    if (!opened_ || error_)
        return 0;
    GstState current = GST_STATE_NULL;
    gst_element_get_state(playbin_, &current, nullptr, 0);
    return current >= GST_STATE_PAUSED ? 6 : 5;
}

int GstPlayerControl::PlayState() const
{
    const int open = OpenState();
    if (open == 0)
        return 6;
    if (open != 6)
        return 3;
    if (stopped_)
        return 0;
    GstState current = GST_STATE_NULL;
    GstState pending = GST_STATE_VOID_PENDING;
    gst_element_get_state(playbin_, &current, &pending, 0);
    const GstState target = pending != GST_STATE_VOID_PENDING ? pending : current;
    if (target == GST_STATE_PAUSED)
        return 1;
    // A seek while playing passes through PAUSED for a moment; it is still playing to the user.
    if (target == GST_STATE_PLAYING)
        return current == GST_STATE_PLAYING || pendingSeek_ ? 2 : 3;
    return 3;
}

bool GstPlayerControl::Open(const QString& fileName)
{
    stopPipeline();
    fileName_ = fileName;
    opened_ = false;
    error_ = false;
    stopped_ = false;
    pendingSeek_.reset();
    position_ = 0;
    positionAge_.invalidate();
    duration_ = 0;
    gchar* uri = gst_filename_to_uri(QFileInfo(fileName).absoluteFilePath().toUtf8().constData(),
                                     nullptr);
    if (!uri) {
        error_ = true;
        return false;
    }
    g_object_set(playbin_, "uri", uri, nullptr);
    g_free(uri);
    opened_ = true;
    applyVolume();
    if (gst_element_set_state(playbin_, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
        error_ = true;
        stopPipeline();
        notifyStates();
        return false;
    }
    notifyStates();
    return true;
}

void GstPlayerControl::Play()
{
    if (!opened_ || error_)
        return;
    stopped_ = false;
    gst_element_set_state(playbin_, GST_STATE_PLAYING);
    notifyStates();
}

void GstPlayerControl::Pause()
{
    if (!opened_ || error_)
        return;
    stopped_ = false;
    gst_element_set_state(playbin_, GST_STATE_PAUSED);
    notifyStates();
}

void GstPlayerControl::Stop()
{
    if (!opened_ || error_)
        return;
    rewindAndHold();
    notifyStates();
}

void GstPlayerControl::rewindAndHold()
{
    // Paused at the start rather than READY, so the file stays open with its duration and size.
    stopped_ = true;
    gst_element_set_state(playbin_, GST_STATE_PAUSED);
    SetCurrentPosition(0);
}

double GstPlayerControl::Duration() const
{
    if (!opened_ || error_)
        return 0;
    gint64 duration = 0;
    if (duration_ <= 0 && gst_element_query_duration(playbin_, GST_FORMAT_TIME, &duration)
        && duration > 0)
        duration_ = double(duration) / GST_SECOND;
    return duration_;
}

double GstPlayerControl::CurrentPosition() const
{
    if (!opened_ || error_)
        return 0;
    // A flushing seek completes on the streaming thread; until then the target is the position.
    if (pendingSeek_)
        return *pendingSeek_;
    constexpr qint64 kFreshMilliseconds = 4;
    if (positionAge_.isValid() && positionAge_.elapsed() < kFreshMilliseconds)
        return position_;
    // Between a seek's flush and its first buffer the pipeline cannot say where it is: the last
    // place known, or the seek's target, holds until it can.
    gint64 position = 0;
    if (!gst_element_query_position(playbin_, GST_FORMAT_TIME, &position) || position < 0)
        return position_;
    position_ = double(position) / GST_SECOND;
    positionAge_.start();
    return position_;
}

void GstPlayerControl::SetCurrentPosition(double seconds)
{
    if (!opened_ || error_ || !std::isfinite(seconds))
        return;
    seconds = std::max(0.0, seconds);
    const auto target = gint64(seconds * GST_SECOND);
    // An ASYNC_DONE still queued from an earlier state change must not end this seek's wait.
    drainBus();
    const auto flags = GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE);
    if (gst_element_seek_simple(playbin_, GST_FORMAT_TIME, flags, target)) {
        pendingSeek_ = seconds;
        position_ = seconds;
        positionAge_.invalidate();
    }
}

void GstPlayerControl::SetVolume(long hundredthsOfDecibel)
{
    volume_ = std::clamp(hundredthsOfDecibel, -10000L, 0L);
    applyVolume();
}

void GstPlayerControl::SetMute(bool mute)
{
    mute_ = mute;
    applyVolume();
}

double GstPlayerControl::AppliedLinearVolume() const
{
    gboolean muted = FALSE;
    g_object_get(playbin_, "mute", &muted, nullptr);
    if (muted)
        return 0;
    return gst_stream_volume_get_volume(GST_STREAM_VOLUME(playbin_),
                                        GST_STREAM_VOLUME_FORMAT_LINEAR);
}

void GstPlayerControl::applyVolume()
{
    // The bottom of the scale is silence, not the -100 dB a literal conversion would give.
    const double linear = volume_ <= -10000
        ? 0.0
        : gst_stream_volume_convert_volume(GST_STREAM_VOLUME_FORMAT_DB,
                                           GST_STREAM_VOLUME_FORMAT_LINEAR, volume_ / 100.0);
    gst_stream_volume_set_volume(GST_STREAM_VOLUME(playbin_), GST_STREAM_VOLUME_FORMAT_LINEAR,
                                 linear);
    g_object_set(playbin_, "mute", mute_ ? TRUE : FALSE, nullptr);
}

bool GstPlayerControl::videoSize(int* width, int* height) const
{
    *width = 0;
    *height = 0;
    if (!opened_ || error_)
        return false;
    GstPad* pad = nullptr;
    g_signal_emit_by_name(playbin_, "get-video-pad", 0, &pad);
    if (!pad)
        return false;
    GstCaps* caps = gst_pad_get_current_caps(pad);
    gst_object_unref(pad);
    const bool known = ReadCapsSize(caps, width, height);
    if (caps)
        gst_caps_unref(caps);
    return known;
}

int GstPlayerControl::ImageSourceWidth() const
{
    int width = 0;
    int height = 0;
    videoSize(&width, &height);
    return width;
}

int GstPlayerControl::ImageSourceHeight() const
{
    int width = 0;
    int height = 0;
    videoSize(&width, &height);
    return height;
}

void GstPlayerControl::SetWindowHandle(quintptr window)
{
    if (videoSink_ && GST_IS_VIDEO_OVERLAY(videoSink_))
        gst_video_overlay_set_window_handle(GST_VIDEO_OVERLAY(videoSink_), window);
}

void GstPlayerControl::Expose(const QSize& windowSize)
{
    video_.SetWindowSize(windowSize);
    redraw();
    refitPausedFrame();
}

void GstPlayerControl::refitPausedFrame()
{
    // Paused, no new frame comes to be scaled to a new window size: the one on screen is
    // decoded again where it is (once per size, should the scaler not reach it). Playing, the
    // next frame has the new size anyway; a seek under way refits when it is done.
    if (OpenState() != 6 || !settledPaused())
        return;
    const QSize stale = video_.StaleFrameSize();
    if (stale.isEmpty() || stale == refitSize_)
        return;
    refitSize_ = stale;
    SetCurrentPosition(CurrentPosition());
}

void GstPlayerControl::redraw()
{
    // An X11 sink learns its window's size only here (it selects no events on a window it does
    // not own, and reads the size once when it starts), so this comes at every resize and
    // whenever the file has opened, not only once a picture is there.
    if (videoSink_ && GST_IS_VIDEO_OVERLAY(videoSink_))
        gst_video_overlay_expose(GST_VIDEO_OVERLAY(videoSink_));
}

bool GstPlayerControl::settledPaused() const
{
    GstState current = GST_STATE_NULL;
    GstState pending = GST_STATE_VOID_PENDING;
    gst_element_get_state(playbin_, &current, &pending, 0);
    return current == GST_STATE_PAUSED && pending == GST_STATE_VOID_PENDING && !pendingSeek_;
}

void GstPlayerControl::MessagePosted(GstMessage* message)
{
    // Kept here rather than left to the bus: the bus queues a message only after this handler
    // returns, so a drain run in between would miss it, and the end of the stream, the last
    // message of all, would wait for ever. Posting a queued call needs no main context of
    // GLib's.
    {
        const std::lock_guard lock(postedLock_);
        posted_.push_back(gst_message_ref(message));
    }
    if (!drainQueued_.exchange(true))
        QMetaObject::invokeMethod(this, "drainBus", Qt::QueuedConnection);
}

void GstPlayerControl::drainBus()
{
    drainQueued_ = false;
    const unsigned run = pipelineRuns_;
    for (GstMessage* message : takePosted()) {
        // What the run before a stop posted is over with it, as a stopped pipeline's own bus
        // flushes it: a finished file's error must not fail the next one.
        if (pipelineRuns_ == run)
            handleMessage(message);
        gst_message_unref(message);
    }
}

void GstPlayerControl::stopPipeline()
{
    gst_element_set_state(playbin_, GST_STATE_NULL);
    ++pipelineRuns_;
    for (GstMessage* message : takePosted())
        gst_message_unref(message);
}

std::deque<GstMessage*> GstPlayerControl::takePosted()
{
    std::deque<GstMessage*> messages;
    const std::lock_guard lock(postedLock_);
    messages.swap(posted_);
    return messages;
}

void GstPlayerControl::handleMessage(GstMessage* message)
{
    switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_ERROR:
        error_ = true;
        pendingSeek_.reset();
        stopPipeline();
        break;
    case GST_MESSAGE_EOS:
        // The classic control rewinds at the end and reports stopped.
        rewindAndHold();
        break;
    case GST_MESSAGE_ASYNC_DONE:
        pendingSeek_.reset();
        refitPausedFrame();
        break;
    case GST_MESSAGE_STATE_CHANGED:
        if (GST_MESSAGE_SRC(message) != GST_OBJECT(playbin_))
            return;
        break;
    case GST_MESSAGE_DURATION_CHANGED:
        duration_ = 0;
        return;
    default:
        return;
    }
    notifyStates();
}

void GstPlayerControl::notifyStates()
{
    const int open = OpenState();
    const int play = PlayState();
    if (open != lastOpenState_) {
        if (open == 6)
            redraw();
        const int old = std::exchange(lastOpenState_, open);
        emit OpenStateChange(old, open);
    }
    if (play != lastPlayState_) {
        const int old = std::exchange(lastPlayState_, play);
        emit PlayStateChange(old, play);
    }
}
