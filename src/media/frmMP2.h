#pragma once

#include "media/EngineHostForm.h"
#include "media/EngineOptions.h"
#include "media/MpvPlayerControl.h"

#include <memory>

// Engine 2 (mpv), hosting the newer player control: its openState and playState become the
// status codes. Loading the form creates the engine; when that fails there is no form, and the
// controller falls back. The player control's design-time state is volume 50, not muted,
// starting on open, no URL.
class frmMP2 : public EngineHostForm {
    Q_OBJECT
public:
    static std::unique_ptr<frmMP2> Load(MediaPlayerController& player,
                                        const EngineOptions& options, QString* whyNot = nullptr);
    ~frmMP2() override;

    MpvPlayerControl& Control() const { return *control_; }

    PlayerStatus Status() const override;
    bool Open(const QString& file) override;
    QString CurrentFile() const override { return control_->URL(); }
    void Play() override { control_->controls().play(); }
    void Pause() override { control_->controls().pause(); }
    void Stop() override { control_->controls().stop(); }
    void Close() override { control_->setURL(QString()); }
    bool HasError() const override;
    double Position() const override { return control_->controls().currentPosition(); }
    void SetPosition(double seconds) override;
    double Duration() const override { return control_->currentMedia().duration(); }
    long Volume() const override { return control_->settings().volume(); }
    void SetVolume(long volume) override;
    bool Mute() const override { return control_->settings().mute(); }
    void SetMute(bool mute) override { control_->settings().setMute(mute); }
    long VideoWidth() const override { return control_->currentMedia().imageSourceWidth(); }
    long VideoHeight() const override { return control_->currentMedia().imageSourceHeight(); }
    void FitToPicture() override { control_->setStretchToFit(true); }
    bool ClickTogglesPlayback() const override { return true; }

private:
    enum class VideoDrawing { None, OpenGL, Memory };
    frmMP2(MediaPlayerController& player, std::unique_ptr<MpvPlayerControl> control,
           VideoDrawing drawing);

    std::unique_ptr<MpvPlayerControl> control_;
};
