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

// Reply ids of the observed properties.
enum Observed : uint64_t { Pause = 1, EofReached, TimePosition, Duration, Width, Height, Volume,
                           Mute };

double finiteOr0(double value)
{
    return std::isfinite(value) ? value : 0;
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
        // The player alone decides what is opened: no user configuration, scripts, input
        // bindings, resume files or profiles, and no file beside the video opened on mpv's own
        // initiative (a subtitle, audio or cover file of the same name, other Matroska segments,
        // references): each could be anything, a FIFO that blocks the open among them.
        {"config", "no"},
        {"load-scripts", "no"},
        {"load-stats-overlay", "no"},
        {"load-osd-console", "no"},
        {"load-auto-profiles", "no"},
        {"osc", "no"},
        {"ytdl", "no"},
        {"resume-playback", "no"},
        {"save-position-on-quit", "no"},
        {"autoload-files", "no"},
        {"sub-auto", "no"},
        {"audio-file-auto", "no"},
        {"cover-art-auto", "no"},
        {"ordered-chapters", "no"},
        {"access-references", "no"},
        {"terminal", "no"},
        {"idle", "yes"},
        // At the end the file stays open, so it can be rewound and held as "stopped".
        {"keep-open", "yes"},
        {"input-default-bindings", "no"},
        {"input-vo-keyboard", "no"},
        {"input-cursor", "no"},
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
    observe();
    lib_->set_wakeup_callback(mpv_, &onWakeup, this);
}

void MpvPlayerControl::observe()
{
    const std::pair<Observed, const char*> flags[] = {
        {Pause, "pause"}, {EofReached, "eof-reached"}, {Mute, "mute"}};
    for (const auto& [id, name] : flags)
        lib_->observe_property(mpv_, id, name, MPV_FORMAT_FLAG);
    const std::pair<Observed, const char*> numbers[] = {
        {TimePosition, "time-pos"}, {Duration, "duration"}, {Width, "width"},
        {Height, "height"}, {Volume, "volume"}};
    for (const auto& [id, name] : numbers)
        lib_->observe_property(mpv_, id, name, MPV_FORMAT_DOUBLE);
    paused_ = flag("pause");
    muted_ = flag("mute");
    volume_ = number("volume");
}

void MpvPlayerControl::propertyChanged(const mpv_event_property& property, uint64_t id)
{
    // Unavailable (no file, no video) arrives without a value and reads as 0 or false.
    const bool isFlag = property.format == MPV_FORMAT_FLAG;
    const bool isNumber = property.format == MPV_FORMAT_DOUBLE;
    const bool on = isFlag && *static_cast<const int*>(property.data);
    const double value = isNumber ? finiteOr0(*static_cast<const double*>(property.data)) : 0;
    switch (id) {
    case Pause:
        paused_ = on;
        break;
    case Mute:
        muted_ = on;
        break;
    case EofReached:
        if (on && loaded_ && !stopped_)
            rewindAndHold();
        break;
    case TimePosition:
        timePosition_ = value;
        break;
    case Duration:
        duration_ = value;
        break;
    case Width:
        width_ = int(value);
        break;
    case Height:
        height_ = int(value);
        break;
    case Volume:
        if (isNumber)
            volume_ = value;
        break;
    default:
        break;
    }
}

void MpvPlayerControl::refreshMediaValues()
{
    timePosition_ = number("time-pos");
    duration_ = number("duration");
    width_ = int(number("width"));
    height_ = int(number("height"));
}

void MpvPlayerControl::setPause(bool paused)
{
    paused_ = paused;
    lib_->set_property_string(mpv_, "pause", paused ? "yes" : "no");
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
    timePosition_ = std::max(0.0, start);
    duration_ = 0;
    width_ = 0;
    height_ = 0;
    setPause(paused);
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
    // Asked, not observed: mpv pauses by itself at the end of a file (keep-open), and "playing"
    // must never be reported for a file that has already stopped.
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
    c.setPause(false);
    c.notifyStates();
}

void MpvPlayerControl::Controls::pause() const
{
    MpvPlayerControl& c = *control_;
    if (!c.loaded_)
        return;
    c.stopped_ = false;
    c.setPause(true);
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
    setPause(true);
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
    return c.timePosition_;
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
    return int(std::nearbyint(control_->volume_));
}

void MpvPlayerControl::Settings::setVolume(int volume) const
{
    double value = std::clamp(volume, 0, 100);
    control_->volume_ = value;
    control_->lib_->set_property(control_->mpv_, "volume", MPV_FORMAT_DOUBLE, &value);
}

bool MpvPlayerControl::Settings::mute() const
{
    return control_->muted_;
}

void MpvPlayerControl::Settings::setMute(bool mute) const
{
    int value = mute ? 1 : 0;
    control_->muted_ = mute;
    control_->lib_->set_property(control_->mpv_, "mute", MPV_FORMAT_FLAG, &value);
}

double MpvPlayerControl::Media::duration() const
{
    return control_->loaded_ ? control_->duration_ : 0;
}

int MpvPlayerControl::Media::imageSourceWidth() const
{
    return control_->loaded_ ? control_->width_ : 0;
}

int MpvPlayerControl::Media::imageSourceHeight() const
{
    return control_->loaded_ ? control_->height_ : 0;
}

void MpvPlayerControl::RenderContextLost()
{
    if (!loaded_ || resumeAt_)
        return;
    resumeAt_ = controls_.currentPosition();
    resumePaused_ = paused_;
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
        if (fileLoaded_) {
            loaded_ = true;
            refreshMediaValues();
        }
        // Paused, mpv reports the position of the audio it has queued, a little past the
        // frame it shows; the frame the seek asked for is the honest answer until it moves on.
        seekInFlight_ = false;
        if (!paused_)
            pendingSeek_.reset();
        break;
    case MPV_EVENT_PROPERTY_CHANGE:
        propertyChanged(*static_cast<const mpv_event_property*>(event.data), event.reply_userdata);
        break;
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
