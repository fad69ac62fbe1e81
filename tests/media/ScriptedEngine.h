#pragma once

#include "media/EngineHostForm.h"
#include "media/MediaPlayerController.h"

#include <QSet>
#include <QTimer>

#include <memory>

// An engine the test drives: it opens what it is handed, reaches "playing" after a delay the
// test chooses (or never, for the files listed in stallingFiles), and keeps whatever it is told.
// It sits behind the same interface and host form as the real engines, so the controller and the
// window run their own code over it.
class ScriptedEngine : public EngineHostForm {
public:
    struct Script {
        int millisecondsToPlay = 0;
        QSet<QString> stallingFiles;
    };

    ScriptedEngine(MediaPlayerController& player, Script script)
        : EngineHostForm(player, false), script_(std::move(script))
    {
        setMP(new QWidget);
        started_.setSingleShot(true);
        QObject::connect(&started_, &QTimer::timeout, this,
                         [this] { change(PlayerStatus::Playing); });
    }

    // A factory for SetEngineFactory; *latest follows the engine the controller created last,
    // *created counts them.
    static MediaPlayerController::EngineFactory Factory(Script script,
                                                        ScriptedEngine** latest = nullptr,
                                                        int* created = nullptr)
    {
        return [script, latest, created](MediaPlayerController& player, const EngineOptions&,
                                         QString*) -> std::unique_ptr<MediaEngine> {
            auto engine = std::make_unique<ScriptedEngine>(player, script);
            if (latest)
                *latest = engine.get();
            if (created)
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
        if (!script_.stallingFiles.contains(file))
            started_.start(script_.millisecondsToPlay);
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
    double Position() const override { return position_; }
    void SetPosition(double seconds) override { position_ = seconds; }
    double Duration() const override { return file_.isEmpty() ? 0 : 10; }
    long Volume() const override { return volume_; }
    void SetVolume(long volume) override { volume_ = volume; }
    bool Mute() const override { return mute_; }
    void SetMute(bool mute) override { mute_ = mute; }
    long VideoWidth() const override { return file_.isEmpty() ? 0 : 320; }
    long VideoHeight() const override { return file_.isEmpty() ? 0 : 240; }
    bool ClickTogglesPlayback() const override { return true; }

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

    Script script_;
    QTimer started_;
    PlayerStatus status_ = PlayerStatus::NoMedia;
    QString file_;
    double position_ = 0;
    long volume_ = 50;
    bool mute_ = false;
};
