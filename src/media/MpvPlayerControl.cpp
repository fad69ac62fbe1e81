#include "MpvPlayerControl.h"


#include <QByteArray>
#include <QMetaObject>

#include <algorithm>
#include <cmath>

namespace {

QByteArray positionText(double seconds)
{
    return QByteArray::number(std::max(0.0, seconds), 'f', 6);
}

void onWakeup(void* control)
{
    // mpv's thread: nothing but a queued call to the user-interface thread.
    QMetaObject::invokeMethod(static_cast<QObject*>(control), "drainEvents",
                              Qt::QueuedConnection);
}

long long entryIdOf(const mpv_node& result)
{
    if (result.format != MPV_FORMAT_NODE_MAP)
        return -1;
    for (int i = 0; i < result.u.list->num; ++i) {
        const mpv_node& value = result.u.list->values[i];
        if (qstrcmp(result.u.list->keys[i], "playlist_entry_id") == 0
            && value.format == MPV_FORMAT_INT64)
            return value.u.int64;
    }
    return -1;
}

}  // namespace

std::unique_ptr<MpvPlayerControl> MpvPlayerControl::Create(const EngineOptions& options,
                                                           QString* whyNot)
{
    std::shared_ptr<const MpvLibrary> library =
        MpvLibrary::Load(options.mpvLibrary, whyNot);
    if (!library)
        return nullptr;
    mpv_handle* mpv = library->create();
    if (!mpv) {
        if (whyNot)
            *whyNot = QStringLiteral("mpv could not be created");
        return nullptr;
    }
    QList<QPair<QByteArray, QByteArray>> settings = {
        {"config", "no"},
        {"terminal", "no"},
        {"idle", "yes"},
        // At the end the file stays open, so it can be rewound and held as "stopped".
        {"keep-open", "yes"},
        {"input-default-bindings", "no"},
        {"input-vo-keyboard", "no"},
        {"input-cursor", "no"},
        {"osc", "no"},
        {"load-scripts", "no"},
        {"ytdl", "no"},
        // Subtitles are drawn by this program, never by the engine.
        {"sid", "no"},
        {"hwdec", "no"},
        {"volume", "50"},
        {"vo", options.videoOutput ? "libmpv" : "null"},
    };
    if (!options.audioOutput)
        settings.append(qMakePair(QByteArray("ao"), QByteArray("null")));
    settings.append(options.extraMpvOptions);
    for (const auto& [name, value] : settings) {
        const int status = library->set_option_string(mpv, name.constData(), value.constData());
        if (status < 0) {
            if (whyNot)
                *whyNot = QStringLiteral("mpv refused the option %1=%2: %3")
                              .arg(QString::fromUtf8(name), QString::fromUtf8(value),
                                   QString::fromUtf8(library->error_string(status)));
            library->terminate_destroy(mpv);
            return nullptr;
        }
    }
    const int status = library->initialize(mpv);
    if (status < 0) {
        if (whyNot)
            *whyNot = QString::fromUtf8(library->error_string(status));
        library->terminate_destroy(mpv);
        return nullptr;
    }
    return std::unique_ptr<MpvPlayerControl>(new MpvPlayerControl(std::move(library), mpv));
}

MpvPlayerControl::MpvPlayerControl(std::shared_ptr<const MpvLibrary> library, mpv_handle* mpv)
    : lib_(std::move(library)), mpv_(mpv)
{
    lib_->observe_property(mpv_, 0, "pause", MPV_FORMAT_FLAG);
    lib_->observe_property(mpv_, 0, "eof-reached", MPV_FORMAT_FLAG);
    lib_->set_wakeup_callback(mpv_, &onWakeup, this);
}

MpvPlayerControl::~MpvPlayerControl()
{
    lib_->set_wakeup_callback(mpv_, nullptr, nullptr);
    lib_->terminate_destroy(mpv_);
}

void MpvPlayerControl::setURL(const QString& url)
{
    url_ = url;
    resumeAt_.reset();
    if (url.isEmpty()) {
        const char* stop[] = {"stop", nullptr};
        lib_->command(mpv_, stop);
        entry_ = -1;
        loaded_ = false;
        fileLoaded_ = false;
        failed_ = false;
        stopped_ = false;
        pendingSeek_.reset();
        seekInFlight_ = false;
        notifyStates();
        return;
    }
    load(url, 0, false);
}

void MpvPlayerControl::load(const QString& url, double start, bool paused)
{
    loaded_ = false;
    fileLoaded_ = false;
    failed_ = false;
    stopped_ = false;
    startedEntry_ = -2;
    pendingSeek_.reset();
    seekInFlight_ = false;
    lib_->set_property_string(mpv_, "pause", paused ? "yes" : "no");
    const QByteArray file = url.toUtf8();
    const QByteArray options = "start=" + positionText(start);
    const char* command[] = {"loadfile", file.constData(), "replace", options.constData(), nullptr};
    mpv_node result{};
    if (lib_->command_ret(mpv_, command, &result) < 0) {
        failed_ = true;
        entry_ = -1;
    } else {
        entry_ = entryIdOf(result);
        lib_->free_node_contents(&result);
    }
    notifyStates();
}

int MpvPlayerControl::openState() const
{
    if (url_.isEmpty() || failed_)
        return 6;
    return loaded_ ? 13 : 9;
}

int MpvPlayerControl::playState() const
{
    if (url_.isEmpty())
        return 0;
    if (failed_)
        return 10;
    if (!loaded_)
        return 9;
    if (stopped_)
        return 1;
    return flag("pause") ? 2 : 3;
}

void MpvPlayerControl::setStretchToFit(bool stretch)
{
    stretchToFit_ = stretch;
    // Filling the picture box never distorts the picture (mpv keeps its aspect by default): the
    // alternative to filling is the video's own size, centred.
    lib_->set_property_string(mpv_, "video-unscaled", stretch ? "no" : "yes");
}

bool MpvPlayerControl::flag(const char* name) const
{
    int value = 0;
    return lib_->get_property(mpv_, name, MPV_FORMAT_FLAG, &value) >= 0 && value;
}

double MpvPlayerControl::number(const char* name) const
{
    double value = 0;
    if (lib_->get_property(mpv_, name, MPV_FORMAT_DOUBLE, &value) < 0 || !std::isfinite(value))
        return 0;
    return value;
}

void MpvPlayerControl::Controls::play() const
{
    MpvPlayerControl& c = *control_;
    if (!c.loaded_)
        return;
    c.stopped_ = false;
    if (!c.seekInFlight_)
        c.pendingSeek_.reset();
    c.lib_->set_property_string(c.mpv_, "pause", "no");
    c.notifyStates();
}

void MpvPlayerControl::Controls::pause() const
{
    MpvPlayerControl& c = *control_;
    if (!c.loaded_)
        return;
    c.stopped_ = false;
    c.lib_->set_property_string(c.mpv_, "pause", "yes");
    c.notifyStates();
}

void MpvPlayerControl::Controls::stop() const
{
    if (!control_->loaded_)
        return;
    control_->rewindAndHold();
    control_->notifyStates();
}

void MpvPlayerControl::rewindAndHold()
{
    stopped_ = true;
    lib_->set_property_string(mpv_, "pause", "yes");
    controls_.setCurrentPosition(0);
}

double MpvPlayerControl::Controls::currentPosition() const
{
    const MpvPlayerControl& c = *control_;
    if (!c.loaded_)
        return 0;
    // A seek completes on mpv's thread; until then its target is the position.
    if (c.pendingSeek_)
        return *c.pendingSeek_;
    return c.number("time-pos");
}

void MpvPlayerControl::Controls::setCurrentPosition(double seconds) const
{
    MpvPlayerControl& c = *control_;
    if (!c.loaded_ || !std::isfinite(seconds))
        return;
    const QByteArray target = positionText(seconds);
    const char* command[] = {"seek", target.constData(), "absolute+exact", nullptr};
    if (c.lib_->command(c.mpv_, command) >= 0) {
        c.pendingSeek_ = std::max(0.0, seconds);
        c.seekInFlight_ = true;
    }
}

int MpvPlayerControl::Settings::volume() const
{
    return int(std::nearbyint(control_->number("volume")));
}

void MpvPlayerControl::Settings::setVolume(int volume) const
{
    double value = std::clamp(volume, 0, 100);
    control_->lib_->set_property(control_->mpv_, "volume", MPV_FORMAT_DOUBLE, &value);
}

bool MpvPlayerControl::Settings::mute() const
{
    return control_->flag("mute");
}

void MpvPlayerControl::Settings::setMute(bool mute) const
{
    int value = mute ? 1 : 0;
    control_->lib_->set_property(control_->mpv_, "mute", MPV_FORMAT_FLAG, &value);
}

double MpvPlayerControl::Media::duration() const
{
    return control_->loaded_ ? control_->number("duration") : 0;
}

int MpvPlayerControl::Media::imageSourceWidth() const
{
    return control_->loaded_ ? int(control_->number("width")) : 0;
}

int MpvPlayerControl::Media::imageSourceHeight() const
{
    return control_->loaded_ ? int(control_->number("height")) : 0;
}

void MpvPlayerControl::RenderContextLost()
{
    if (!loaded_ || resumeAt_)
        return;
    resumeAt_ = controls_.currentPosition();
    resumePaused_ = flag("pause");
}

void MpvPlayerControl::RenderContextRestored()
{
    // A file opened before any render context existed plays without its video: mpv gives up
    // on an output it cannot draw to. It is reopened where it is, like one whose context went.
    if (!resumeAt_ && loaded_ && !flag("vo-configured"))
        RenderContextLost();
    if (!resumeAt_)
        return;
    const double at = *resumeAt_;
    const bool wasStopped = stopped_;
    resumeAt_.reset();
    load(url_, at, resumePaused_);
    stopped_ = wasStopped;
}

void MpvPlayerControl::drainEvents()
{
    while (true) {
        const mpv_event* event = lib_->wait_event(mpv_, 0);
        if (!event || event->event_id == MPV_EVENT_NONE)
            break;
        handleEvent(*event);
    }
    notifyStates();
}

void MpvPlayerControl::handleEvent(const mpv_event& event)
{
    switch (event.event_id) {
    case MPV_EVENT_START_FILE: {
        const auto* start = static_cast<const mpv_event_start_file*>(event.data);
        if (entry_ < 0)
            entry_ = start->playlist_entry_id;
        startedEntry_ = start->playlist_entry_id;
        break;
    }
    case MPV_EVENT_FILE_LOADED:
        // Loaded events carry no entry: they belong to the entry that started last.
        if (!url_.isEmpty() && !failed_ && startedEntry_ == entry_)
            fileLoaded_ = true;
        break;
    case MPV_EVENT_END_FILE: {
        const auto* end = static_cast<const mpv_event_end_file*>(event.data);
        if (end->playlist_entry_id != entry_)
            break;
        if (end->reason == MPV_END_FILE_REASON_ERROR || end->reason == MPV_END_FILE_REASON_EOF) {
            loaded_ = false;
            fileLoaded_ = false;
            failed_ = end->reason == MPV_END_FILE_REASON_ERROR;
        }
        break;
    }
    case MPV_EVENT_PLAYBACK_RESTART:
        // The media counts as open once its first frame is out, not when the file is parsed:
        // only then is "playing" true of it.
        if (fileLoaded_)
            loaded_ = true;
        // Paused, mpv reports the position of the audio it has queued, a little past the
        // frame it shows; the frame the seek asked for is the honest answer until it moves on.
        seekInFlight_ = false;
        if (!flag("pause"))
            pendingSeek_.reset();
        break;
    case MPV_EVENT_PROPERTY_CHANGE: {
        const auto* property = static_cast<const mpv_event_property*>(event.data);
        if (qstrcmp(property->name, "eof-reached") == 0 && property->format == MPV_FORMAT_FLAG
            && *static_cast<int*>(property->data) && loaded_ && !stopped_)
            rewindAndHold();
        break;
    }
    default:
        break;
    }
}

void MpvPlayerControl::notifyStates()
{
    const int open = openState();
    const int play = playState();
    if (open != lastOpenState_) {
        lastOpenState_ = open;
        emit OpenStateChange(open);
    }
    if (play != lastPlayState_) {
        lastPlayState_ = play;
        emit PlayStateChange(play);
    }
}
