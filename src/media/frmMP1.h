#pragma once

#include "media/EngineHostForm.h"
#include "media/EngineOptions.h"
#include "media/GstPlayerControl.h"

#include <memory>

// Engine 1 (GStreamer), hosting the classic player control: its open and play states become
// the status codes, its hundredths of a decibel the 0..100 volume. Loading the form creates the
// engine; when that fails there is no form, and the controller falls back.
class frmMP1 : public EngineHostForm {
    Q_OBJECT
public:
    static std::unique_ptr<frmMP1> Load(MediaPlayerController& player,
                                        const EngineOptions& options, QString* whyNot = nullptr);
    ~frmMP1() override;

    GstPlayerControl& Control() const { return *control_; }

    PlayerStatus Status() const override;
    bool Open(const QString& file) override { return control_->Open(file); }
    QString CurrentFile() const override { return control_->FileName(); }
    void Play() override { control_->Play(); }
    void Pause() override { control_->Pause(); }
    void Stop() override { control_->Stop(); }
    // The classic control has no close: it stops and keeps the file.
    void Close() override { control_->Stop(); }
    bool HasError() const override { return control_->ErrorFlag(); }
    double Position() const override { return control_->CurrentPosition(); }
    void SetPosition(double seconds) override { control_->SetCurrentPosition(seconds); }
    double Duration() const override { return control_->Duration(); }
    long Volume() const override;
    void SetVolume(long volume) override;
    bool Mute() const override { return control_->Mute(); }
    void SetMute(bool mute) override { control_->SetMute(mute); }
    long VideoWidth() const override { return control_->ImageSourceWidth(); }
    long VideoHeight() const override { return control_->ImageSourceHeight(); }
    bool ClickTogglesPlayback() const override { return false; }

private:
    frmMP1(MediaPlayerController& player, std::unique_ptr<GstPlayerControl> control,
           bool videoOutput);

    std::unique_ptr<GstPlayerControl> control_;
};
