#pragma once

#include "media/PlayerStatus.h"

#include <QString>

class QWidget;

// One playback engine as the controller drives it; each engine is a class behind this
// interface (mpv's own table of video outputs is the model), so the controller never asks
// which engine it has. An engine maps its own states to the five status codes and its own
// volume scale to 0..100 (0 silent, 100 full).
//
// User-interface thread only. Engines that run threads of their own bring their notifications
// to this thread by a queued call, so they work under any Qt event dispatcher.
class MediaEngine {
public:
    virtual ~MediaEngine() = default;

    virtual PlayerStatus Status() const = 0;
    // Hands the file to the engine, which starts playing it; false when refused at once.
    virtual bool Open(const QString& file) = 0;
    // The file handed over last; empty after Close.
    virtual QString CurrentFile() const = 0;
    virtual void Play() = 0;
    virtual void Pause() = 0;
    // Rewinds to the start and holds there.
    virtual void Stop() = 0;
    // Closes the media (an engine without a way to close only stops).
    virtual void Close() = 0;
    // An opening or open media failed in the engine.
    virtual bool HasError() const = 0;

    virtual double Position() const = 0;
    virtual void SetPosition(double seconds) = 0;
    virtual double Duration() const = 0;

    virtual long Volume() const = 0;
    virtual void SetVolume(long volume) = 0;
    virtual bool Mute() const = 0;
    virtual void SetMute(bool mute) = 0;

    virtual long VideoWidth() const = 0;
    virtual long VideoHeight() const = 0;

    // The picture box the controller places and sizes, and the step that keeps the engine's
    // own widget at its size; FitToPicture runs after every sizing.
    virtual QWidget* PIC() const = 0;
    virtual void PIC_Resize() = 0;
    virtual void FitToPicture() {}
    // A left click on the picture plays and pauses (the newer control does it, the classic
    // one leaves clicks alone).
    virtual bool ClickTogglesPlayback() const = 0;
};
