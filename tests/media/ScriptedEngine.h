#pragma once

#include "media/EngineHostForm.h"
#include "media/MediaPlayerController.h"

#include <QTimer>

#include <memory>

// An engine the test drives: it opens what it is handed and reaches "playing" 30 ms later, or
// never for the stalling file. It sits behind the same interface and host form as the real
// engines, so the controller runs its own code over it.
class ScriptedEngine : public EngineHostForm {
public:
    ScriptedEngine(MediaPlayerController& player, const QString& stallingFile)
        : EngineHostForm(player, false), stallingFile_(stallingFile)
    {
        setMP(new QWidget);
        started_.setSingleShot(true);
        QObject::connect(&started_, &QTimer::timeout, this,
                         [this] { change(PlayerStatus::Playing); });
    }

    // A factory for SetEngineFactory; *latest follows the engine the controller created last,
    // *created counts them.
    static MediaPlayerController::EngineFactory Factory(const QString& stallingFile,
                                                        ScriptedEngine** latest, int* created)
    {
        return [=](MediaPlayerController& player, const EngineOptions&,
                   QString*) -> std::unique_ptr<MediaEngine> {
            auto engine = std::make_unique<ScriptedEngine>(player, stallingFile);
            *latest = engine.get();
            ++*created;
            return engine;
        };
    }

    PlayerStatus Status() const override { return status_; }
    bool Open(const QString& file) override
    {
        ++opens;
        file_ = file;
        change(PlayerStatus::Opening);
        if (file != stallingFile_)
            started_.start(30);
        return true;
    }
    QString CurrentFile() const override { return file_; }
    void Play() override { transport(PlayerStatus::Playing); }
    void Pause() override { transport(PlayerStatus::Paused); }
    void Stop() override { transport(PlayerStatus::Stopped); }
    void Close() override
    {
        file_.clear();
        change(PlayerStatus::NoMedia);
    }
    bool HasError() const override { return false; }
    double Position() const override { return 0; }
    void SetPosition(double) override {}
    double Duration() const override { return 0; }
    long Volume() const override { return 50; }
    void SetVolume(long) override {}
    bool Mute() const override { return false; }
    void SetMute(bool) override {}
    long VideoWidth() const override { return 0; }
    long VideoHeight() const override { return 0; }
    bool ClickTogglesPlayback() const override { return false; }

    int opens = 0;

private:
    void transport(PlayerStatus status)
    {
        if (status_ > PlayerStatus::Opening)
            change(status);
    }
    void change(PlayerStatus status)
    {
        status_ = status;
        engineStateChanged();
    }

    QString stallingFile_;
    QTimer started_;
    PlayerStatus status_ = PlayerStatus::NoMedia;
    QString file_;
};
