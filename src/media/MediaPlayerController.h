#pragma once

#include "media/EngineOptions.h"
#include "media/PlayerWindowHost.h"
#include "platform/Currency.h"

#include <QString>
#include <QtGlobal>

#include <cstdint>
#include <memory>

class EngineHostForm;
class frmMP1;
class frmMP2;
class QWidget;

// The one facade through which the program plays video, over two interchangeable engines:
// 1 is GStreamer (frmMP1), 2 is mpv (frmMP2). Status codes: 0 nothing open, 1 opening or
// transitional, 2 stopped, 3 paused, 4 playing. Positions and durations are seconds, volume
// 0..100 for both engines.
//
// User-interface thread only. Nothing is cached: every read asks the engine. A member that
// addresses the engine does nothing, and gives 0, empty or false, while none is loaded.
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

    bool SetMP(long mediaPlayer);
    long MediaPlayer() const { return engine_; }

    long Status() const;
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
    void Destroy();

    // The engine hosts, for the window tests and the overlay; null unless loaded.
    frmMP1* EngineHost1() const { return mp1_.get(); }
    frmMP2* EngineHost2() const { return mp2_.get(); }

private:
    EngineHostForm* loadedHost() const;
    void AttachContainer();

    long engine_ = 0;
    int32_t microsecondsPerFrame_ = 0;
    bool fullScreen_ = false;
    std::unique_ptr<frmMP1> mp1_;
    std::unique_ptr<frmMP2> mp2_;
    PlayerWindowHost* host_ = nullptr;
    EngineOptions options_ = EngineOptions::ForCurrentDisplay();
    QString loadError_;
    int openTimeoutMs_ = kOpenTimeoutMs;
};
