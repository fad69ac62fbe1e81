#pragma once

#include "media/EngineHostForm.h"
#include "media/EngineOptions.h"
#include "media/MpvPlayerControl.h"

#include <memory>

// Host form of engine 2 (mpv). Loading the form creates the engine; when that fails there is no
// form, and the controller falls back. The player control's design-time state is volume 50,
// not muted, starting on open, no URL.
class frmMP2 : public EngineHostForm {
    Q_OBJECT
public:
    static std::unique_ptr<frmMP2> Load(MediaPlayerController& player,
                                        const EngineOptions& options, QString* whyNot = nullptr);
    ~frmMP2() override;

    MpvPlayerControl& Control() const { return *control_; }

private:
    enum class VideoDrawing { None, OpenGL, Memory };
    frmMP2(MediaPlayerController& player, std::unique_ptr<MpvPlayerControl> control,
           VideoDrawing drawing);

    std::unique_ptr<MpvPlayerControl> control_;
};
