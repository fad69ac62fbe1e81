#include "MediaPlayerController.h"

#include "media/AviProbe.h"
#include "media/PlayerState.h"
#include "media/frmMP1.h"
#include "media/frmMP2.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTimer>

namespace {

template <typename Form>
MediaPlayerController::EngineFactory formLoader()
{
    return [](MediaPlayerController& player, const EngineOptions& options,
              QString* whyNot) -> std::unique_ptr<MediaEngine> {
        return Form::Load(player, options, whyNot);
    };
}

}  // namespace

MediaPlayerController::MediaPlayerController()
    : factories_{{EngineKind::GStreamer, formLoader<frmMP1>()},
                 {EngineKind::Mpv, formLoader<frmMP2>()}}
{
}

MediaPlayerController::~MediaPlayerController()
{
    Destroy();
}

void MediaPlayerController::SetEngineFactory(EngineKind kind, EngineFactory factory)
{
    if (kind != EngineKind::None && factory)
        factories_[kind] = std::move(factory);
}

frmMP1* MediaPlayerController::EngineHost1() const
{
    return dynamic_cast<frmMP1*>(engine_.get());
}

frmMP2* MediaPlayerController::EngineHost2() const
{
    return dynamic_cast<frmMP2*>(engine_.get());
}

bool MediaPlayerController::SetMP(long mediaPlayer)
{
    if (waiting_) {
        AfterOpening([this, mediaPlayer] { SetMP(mediaPlayer); });
        return true;
    }
    PlayerState state;
    state.Status = State();
    state.Position = Position();
    state.File = CurrentFile();
    state.Volume = Volume();
    state.Mute = Mute();

    Destroy();
    loadError_.clear();
    mediaPlayer_ = mediaPlayer;
    const auto factory = factories_.find(EngineKindFromNumber(mediaPlayer));
    if (factory == factories_.end())
        return true;
    engine_ = factory->second(*this, options_, &loadError_);
    if (!engine_) {
        mediaPlayer_ = 0;
        return false;
    }
    Resize();
    AttachContainer();

    SetVolume(state.Volume);
    SetMute(state.Mute);
    if (!state.File.isEmpty())
        OpenFile(state.File);
    if (state.Status != PlayerStatus::NoMedia)
        SetStatus(StatusCode(state.Status));
    if (state.Position > 0)
        SetPosition(state.Position);
    return true;
}

PlayerStatus MediaPlayerController::State() const
{
    return engine_ ? engine_->Status() : PlayerStatus::NoMedia;
}

void MediaPlayerController::SetStatus(long status)
{
    switch (PlayerStatus(status)) {
    case PlayerStatus::Playing:
        Play();
        break;
    case PlayerStatus::Paused:
        Pause();
        break;
    case PlayerStatus::Stopped:
        Stop_();
        break;
    case PlayerStatus::NoMedia:
        CloseMedia();
        break;
    default:
        break;
    }
}

bool MediaPlayerController::OpenFile(const QString& file)
{
    if (waiting_) {
        AfterOpening([this, file] { OpenFile(file); });
        return false;
    }
    openCancelled_ = false;
    const QFileInfo info(file);
    if (file.isEmpty() || !info.isFile() || info.size() <= 0)
        return false;
    microsecondsPerFrame_ = ProbeAviFrameDuration(file);
    const long volume = Volume();
    const bool mute = Mute();
    const bool playing = engine_ && engine_->Open(file) && waitForPlayback();
    SetVolume(volume);
    SetMute(mute);
    return playing;
}

// Events are processed while waiting, so the engines' notifications, timers and clicks run.
// One of them may unload the engine or ask for something that cannot run inside the wait:
// either ends it at once.
bool MediaPlayerController::waitForPlayback()
{
    const quint64 unloads = unloads_;
    auto engineStays = [&] { return unloads == unloads_ && engine_ && !cancelWait_; };
    waiting_ = true;
    cancelWait_ = false;
    // Wakes the loop to look at the clock, should nothing else happen.
    QTimer heartbeat;
    heartbeat.start(20);
    QElapsedTimer waited;
    waited.start();
    while (engineStays() && engine_->Status() != PlayerStatus::Playing && !engine_->HasError()
           && waited.elapsed() < openTimeoutMs_)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    const bool playing = engineStays() && engine_->Status() == PlayerStatus::Playing;
    waiting_ = false;
    openCancelled_ = cancelWait_;
    cancelWait_ = false;
    if (!deferred_.empty())
        QTimer::singleShot(0, &deferralContext_, [this] { runDeferred(); });
    return playing;
}

void MediaPlayerController::AfterOpening(std::function<void()> action)
{
    if (!waiting_) {
        action();
        return;
    }
    deferred_.push_back(std::move(action));
    cancelWait_ = true;
}

void MediaPlayerController::runDeferred()
{
    // An action may open a file and wait again; what it defers then goes on a fresh list.
    auto actions = std::exchange(deferred_, {});
    for (auto& action : actions)
        AfterOpening(std::move(action));
}

QString MediaPlayerController::CurrentFile() const
{
    return engine_ ? engine_->CurrentFile() : QString();
}

void MediaPlayerController::Play()
{
    if (engine_)
        engine_->Play();
}

void MediaPlayerController::Pause()
{
    if (engine_)
        engine_->Pause();
}

void MediaPlayerController::Stop_()
{
    if (engine_)
        engine_->Stop();
    SetPosition(0);
}

void MediaPlayerController::PlayToggle()
{
    const PlayerStatus status = State();
    if (status == PlayerStatus::Playing)
        Pause();
    else if (status == PlayerStatus::Paused)
        Play();
}

void MediaPlayerController::CloseMedia()
{
    if (engine_)
        engine_->Close();
}

double MediaPlayerController::Position() const
{
    return engine_ ? engine_->Position() : 0;
}

void MediaPlayerController::SetPosition(double seconds)
{
    if (engine_)
        engine_->SetPosition(seconds);
}

Currency MediaPlayerController::PositionFrame() const
{
    return FrameAtPosition(Position(), microsecondsPerFrame_);
}

double MediaPlayerController::Duration() const
{
    return engine_ ? engine_->Duration() : 0;
}

double MediaPlayerController::FPS() const
{
    return FramesPerSecond(microsecondsPerFrame_);
}

long MediaPlayerController::Volume() const
{
    return engine_ ? engine_->Volume() : 0;
}

void MediaPlayerController::SetVolume(long volume)
{
    if (engine_)
        engine_->SetVolume(volume);
}

bool MediaPlayerController::Mute() const
{
    return engine_ && engine_->Mute();
}

void MediaPlayerController::SetMute(bool mute)
{
    if (engine_)
        engine_->SetMute(mute);
}

bool MediaPlayerController::HasError() const
{
    return engine_ && engine_->HasError();
}

long MediaPlayerController::WidthOriginalVideo() const
{
    return engine_ ? engine_->VideoWidth() : 0;
}

long MediaPlayerController::HeightOriginalVideo() const
{
    return engine_ ? engine_->VideoHeight() : 0;
}

void MediaPlayerController::Destroy()
{
    if (engine_) {
        // PIC may live in the main window; it goes with its engine.
        if (QWidget* pic = engine_->PIC())
            pic->setParent(dynamic_cast<QWidget*>(engine_.get()));
        ++unloads_;
    }
    engine_.reset();
    microsecondsPerFrame_ = 0;
}

void MediaPlayerController::ReleaseWindowHost()
{
    Destroy();
    host_ = nullptr;
    fullScreen_ = false;
}
