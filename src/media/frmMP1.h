#pragma once

#include "media/EngineHostForm.h"
#include "media/EngineOptions.h"
#include "media/GstPlayerControl.h"

#include <memory>

// Host form of engine 1 (GStreamer). Loading the form creates the engine; when that fails there
// is no form, and the controller falls back.
class frmMP1 : public EngineHostForm {
    Q_OBJECT
public:
    static std::unique_ptr<frmMP1> Load(MediaPlayerController& player,
                                        const EngineOptions& options, QString* whyNot = nullptr);
    ~frmMP1() override;

    GstPlayerControl& Control() const { return *control_; }

private:
    frmMP1(MediaPlayerController& player, std::unique_ptr<GstPlayerControl> control,
           bool videoOutput);

    std::unique_ptr<GstPlayerControl> control_;
};
