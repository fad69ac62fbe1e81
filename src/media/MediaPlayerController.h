#pragma once

#include "media/EngineKind.h"
#include "media/EngineOptions.h"
#include "media/MediaEngine.h"
#include "media/PlayerStatus.h"
#include "media/PlayerWindowHost.h"
#include "platform/Currency.h"

#include <QObject>
#include <QString>
#include <QtGlobal>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

class frmMP1;
class frmMP2;
class QWidget;

// The one facade through which the program plays video, over interchangeable engines behind
// MediaEngine: 1 is GStreamer (frmMP1), 2 is mpv (frmMP2). Status codes (PlayerStatus): 0 nothing
// open, 1 opening or transitional, 2 stopped, 3 paused, 4 playing. Positions and durations are
// seconds, volume 0..100 for every engine.
//
// User-interface thread only. Nothing is cached: every read asks the engine. A member that
// addresses the engine does nothing, and gives 0, empty or false, while none is loaded.
//
// OpenFile waits for playback with the event loop running. Whatever arrives meanwhile and would
// pull the ground from under that wait (closing the window, switching the engine, opening
// another file) goes through AfterOpening: it ends the wait at once and runs when the wait has
// returned to its caller.
class MediaPlayerController {
public:
    // Bound on OpenFile's wait for playback, for an engine that neither plays nor fails.
    static constexpr int kOpenTimeoutMs = 15000;

    MediaPlayerController();
    ~MediaPlayerController();
    MediaPlayerController(const MediaPlayerController&) = delete;
    MediaPlayerController& operator=(const MediaPlayerController&) = delete;

    // The main window; may stay null (nothing is attached or refreshed then).
    void SetWindowHost(PlayerWindowHost* host) { host_ = host; }
    PlayerWindowHost* WindowHost() const { return host_; }
    // How the next SetMP creates its engine.
    void SetEngineOptions(const EngineOptions& options) { options_ = options; }
    // Why the last SetMP could not load its engine; empty after a success.
    QString EngineLoadError() const { return loadError_; }
    // Shortens OpenFile's bound, for tests of an engine that never starts playing.
    void SetOpenTimeout(int milliseconds) { openTimeoutMs_ = milliseconds; }
    // How SetMP creates an engine: the two real engines are built in; tests put a scripted
    // engine in their place.
    using EngineFactory = std::function<std::unique_ptr<MediaEngine>(
        MediaPlayerController& player, const EngineOptions& options, QString* whyNot)>;
    void SetEngineFactory(EngineKind kind, EngineFactory factory);

    // True while OpenFile waits for playback.
    bool Opening() const { return waiting_; }
    // Runs the action now, or, while OpenFile waits, ends the wait and runs it from the event
    // loop once OpenFile has returned.
    void AfterOpening(std::function<void()> action);
    // The last OpenFile returned false because its wait was ended by AfterOpening, not because
    // the file failed to play.
    bool OpenCancelled() const { return openCancelled_; }

    // Unloads the engine and loads the given one, carrying the playback over. Called while
    // OpenFile waits, the switch happens once the wait returns (true is returned then).
    bool SetMP(long mediaPlayer);
    bool SetMP(EngineKind kind) { return SetMP(EngineNumber(kind)); }
    long MediaPlayer() const { return mediaPlayer_; }
    // The engine loaded, as the program decides by it; None for no engine or another number.
    EngineKind Kind() const { return EngineKindFromNumber(mediaPlayer_); }

    // The status code, as stored and shown; State() is the same for deciding by it.
    long Status() const { return StatusCode(State()); }
    PlayerStatus State() const;
    void SetStatus(long status);
    bool OpenFile(const QString& file);
    QString CurrentFile() const;
    void Play();
    void Pause();
    void Stop_();
    void PlayToggle();
    void CloseMedia();

    double Position() const;
    void SetPosition(double seconds);
    Currency PositionFrame() const;
    double Duration() const;
    double FPS() const;
    int32_t GetFRUS() const { return microsecondsPerFrame_; }

    long Volume() const;
    void SetVolume(long volume);
    bool Mute() const;
    void SetMute(bool mute);
    bool HasError() const;

    long Width() const;
    long Height() const;
    long WidthOriginalVideo() const;
    long HeightOriginalVideo() const;
    double Zoom() const;
    void SetZoom(double factor);
    void Resize();
    bool FullScreen() const { return fullScreen_; }
    void SetFullScreen(bool fullScreen);
    quintptr hwndContainer() const;
    // The picture box itself, for the window layout; null with no engine.
    QWidget* Container() const;

    void EventMouseDown(int button, int shiftState, long x, long y);
    void EventMouseUp(int button, int shiftState, long x, long y);
    // Unloads the engine. Safe while OpenFile waits: the wait ends at once.
    void Destroy();
    // The main window is going away: the engine is unloaded and the window forgotten.
    void ReleaseWindowHost();

    // The loaded engine, null when none is; the real engines' hosts for the window tests.
    MediaEngine* Engine() const { return engine_.get(); }
    frmMP1* EngineHost1() const;
    frmMP2* EngineHost2() const;

private:
    bool waitForPlayback();
    void runDeferred();
    void AttachContainer();

    // The number last asked for (0 or one without an engine leaves none loaded).
    long mediaPlayer_ = 0;
    std::unique_ptr<MediaEngine> engine_;
    // Counts engine unloads, so that a wait sees its engine go even when another one came.
    quint64 unloads_ = 0;
    int32_t microsecondsPerFrame_ = 0;
    bool fullScreen_ = false;
    PlayerWindowHost* host_ = nullptr;
    EngineOptions options_ = EngineOptions::ForCurrentDisplay();
    std::map<EngineKind, EngineFactory> factories_;
    QString loadError_;
    int openTimeoutMs_ = kOpenTimeoutMs;
    bool waiting_ = false;
    bool cancelWait_ = false;
    bool openCancelled_ = false;
    std::vector<std::function<void()>> deferred_;
    // Deferred actions are posted against this, so none runs once the controller is gone.
    QObject deferralContext_;
};
