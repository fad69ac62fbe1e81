#include "MediaPlayerController.h"

#include "media/AviProbe.h"
#include "media/PlayerState.h"
#include "media/frmMP1.h"
#include "media/frmMP2.h"
#include "platform/Rounding.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPointer>
#include <QTimer>

#include <cmath>

MediaPlayerController::MediaPlayerController() = default;

MediaPlayerController::~MediaPlayerController()
{
    Destroy();
}

bool MediaPlayerController::SetMP(long mediaPlayer)
{
    PlayerState state;
    state.Status = Status();
    state.Position = Position();
    state.File = CurrentFile();
    state.Volume = Volume();
    state.Mute = Mute();

    Destroy();
    engine_ = mediaPlayer;
    loadError_.clear();
    if (mediaPlayer == 1)
        mp1_ = frmMP1::Load(*this, options_, &loadError_);
    else if (mediaPlayer == 2)
        mp2_ = frmMP2::Load(*this, options_, &loadError_);
    if ((mediaPlayer == 1 && !mp1_) || (mediaPlayer == 2 && !mp2_)) {
        engine_ = 0;
        return false;
    }
    if (loadedHost())
        Resize();
    AttachContainer();

    SetVolume(state.Volume);
    SetMute(state.Mute);
    if (!state.File.isEmpty())
        OpenFile(state.File);
    if (state.Status != 0)
        SetStatus(state.Status);
    if (state.Position > 0)
        SetPosition(state.Position);
    return true;
}

EngineHostForm* MediaPlayerController::loadedHost() const
{
    if (engine_ == 1 && mp1_)
        return mp1_.get();
    if (engine_ == 2 && mp2_)
        return mp2_.get();
    return nullptr;
}

long MediaPlayerController::Status() const
{
    if (engine_ == 1 && mp1_) {
        const GstPlayerControl& mp = mp1_->Control();
        if (mp.OpenState() == 0)
            return 0;
        switch (mp.PlayState()) {
        case 2:
            return 4;
        case 1:
            return 3;
        case 0:
            return 2;
        default:
            return 1;
        }
    }
    if (engine_ == 2 && mp2_) {
        const MpvPlayerControl& mp = mp2_->Control();
        const int playState = mp.playState();
        const int openState = mp.openState();
        if (playState == 0 || openState == 6)
            return 0;
        if (openState != 13)
            return 1;
        switch (playState) {
        case 3:
            return 4;
        case 2:
            return 3;
        case 1:
            return 2;
        default:
            return 0;
        }
    }
    return 0;
}

void MediaPlayerController::SetStatus(long status)
{
    switch (status) {
    case 4:
        Play();
        break;
    case 3:
        Pause();
        break;
    case 2:
        Stop_();
        break;
    case 0:
        CloseMedia();
        break;
    default:
        break;
    }
}

bool MediaPlayerController::OpenFile(const QString& file)
{
    const QFileInfo info(file);
    if (file.isEmpty() || !info.isFile() || info.size() <= 0)
        return false;
    microsecondsPerFrame_ = ProbeAviFrameDuration(file);
    const long volume = Volume();
    const bool mute = Mute();

    bool handedOver = false;
    if (engine_ == 1 && mp1_) {
        handedOver = mp1_->Control().Open(file);
    } else if (engine_ == 2 && mp2_) {
        mp2_->Control().setURL(file);
        handedOver = true;
    }

    bool playing = false;
    if (handedOver) {
        // Events are processed while waiting, so the engines' notifications, timers and clicks
        // run; one of them may unload the engine, which ends the wait.
        const QPointer<EngineHostForm> host = loadedHost();
        QTimer heartbeat;
        heartbeat.start(20);
        QElapsedTimer waited;
        waited.start();
        while (host && Status() != 4 && !HasError() && waited.elapsed() < openTimeoutMs_)
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        playing = host && Status() == 4;
    }
    SetVolume(volume);
    SetMute(mute);
    return playing;
}

QString MediaPlayerController::CurrentFile() const
{
    if (engine_ == 1 && mp1_)
        return mp1_->Control().FileName();
    if (engine_ == 2 && mp2_)
        return mp2_->Control().URL();
    return {};
}

void MediaPlayerController::Play()
{
    if (engine_ == 1 && mp1_)
        mp1_->Control().Play();
    else if (engine_ == 2 && mp2_)
        mp2_->Control().controls().play();
}

void MediaPlayerController::Pause()
{
    if (engine_ == 1 && mp1_)
        mp1_->Control().Pause();
    else if (engine_ == 2 && mp2_)
        mp2_->Control().controls().pause();
}

void MediaPlayerController::Stop_()
{
    if (engine_ == 1 && mp1_)
        mp1_->Control().Stop();
    else if (engine_ == 2 && mp2_)
        mp2_->Control().controls().stop();
    SetPosition(0);
}

void MediaPlayerController::PlayToggle()
{
    const long status = Status();
    if (status == 4)
        Pause();
    else if (status == 3)
        Play();
}

void MediaPlayerController::CloseMedia()
{
    if (engine_ == 1 && mp1_)
        mp1_->Control().Stop();
    else if (engine_ == 2 && mp2_)
        mp2_->Control().setURL(QString());
}

double MediaPlayerController::Position() const
{
    if (engine_ == 1 && mp1_)
        return mp1_->Control().CurrentPosition();
    if (engine_ == 2 && mp2_)
        return mp2_->Control().controls().currentPosition();
    return 0;
}

void MediaPlayerController::SetPosition(double seconds)
{
    if (engine_ == 1 && mp1_)
        mp1_->Control().SetCurrentPosition(seconds);
    else if (engine_ == 2 && mp2_)
        mp2_->Control().controls().setCurrentPosition(seconds);
}

Currency MediaPlayerController::PositionFrame() const
{
    return FrameAtPosition(Position(), microsecondsPerFrame_);
}

double MediaPlayerController::Duration() const
{
    if (engine_ == 1 && mp1_)
        return mp1_->Control().Duration();
    if (engine_ == 2 && mp2_)
        return mp2_->Control().currentMedia().duration();
    return 0;
}

double MediaPlayerController::FPS() const
{
    return FramesPerSecond(microsecondsPerFrame_);
}

long MediaPlayerController::Volume() const
{
    if (engine_ == 1 && mp1_) {
        // The inverse of the curve below, with the rounded third the curve was published with.
        const double level = -double(mp1_->Control().Volume()) / 0.007;
        return RoundToInt32(100 - std::pow(level, 0.33333)).value_or(0);
    }
    if (engine_ == 2 && mp2_)
        return mp2_->Control().settings().volume();
    return 0;
}

void MediaPlayerController::SetVolume(long volume)
{
    if (engine_ == 1 && mp1_) {
        const double quieter = 100.0 - double(volume);
        const auto hundredths = RoundToInt32(-0.007 * quieter * quieter * quieter);
        if (hundredths)
            mp1_->Control().SetVolume(*hundredths);
    } else if (engine_ == 2 && mp2_) {
        mp2_->Control().settings().setVolume(int(std::clamp(volume, 0L, 100L)));
    }
}

bool MediaPlayerController::Mute() const
{
    if (engine_ == 1 && mp1_)
        return mp1_->Control().Mute();
    if (engine_ == 2 && mp2_)
        return mp2_->Control().settings().mute();
    return false;
}

void MediaPlayerController::SetMute(bool mute)
{
    if (engine_ == 1 && mp1_)
        mp1_->Control().SetMute(mute);
    else if (engine_ == 2 && mp2_)
        mp2_->Control().settings().setMute(mute);
}

bool MediaPlayerController::HasError() const
{
    if (engine_ == 1 && mp1_)
        return mp1_->Control().ErrorFlag();
    if (engine_ == 2 && mp2_)
        return !CurrentFile().isEmpty() && Status() == 0;
    return false;
}

long MediaPlayerController::WidthOriginalVideo() const
{
    if (engine_ == 1 && mp1_)
        return mp1_->Control().ImageSourceWidth();
    if (engine_ == 2 && mp2_)
        return mp2_->Control().currentMedia().imageSourceWidth();
    return 0;
}

long MediaPlayerController::HeightOriginalVideo() const
{
    if (engine_ == 1 && mp1_)
        return mp1_->Control().ImageSourceHeight();
    if (engine_ == 2 && mp2_)
        return mp2_->Control().currentMedia().imageSourceHeight();
    return 0;
}

void MediaPlayerController::Destroy()
{
    if (EngineHostForm* host = loadedHost()) {
        if (host->PIC())
            host->PIC()->setParent(host);
    }
    mp1_.reset();
    mp2_.reset();
    microsecondsPerFrame_ = 0;
}
