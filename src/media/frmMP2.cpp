#include "frmMP2.h"

#include "media/MpvSoftwareVideoWidget.h"
#include "media/MpvVideoWidget.h"
#include "media/SoftwareOpenGL.h"

#include <algorithm>

std::unique_ptr<frmMP2> frmMP2::Load(MediaPlayerController& player, const EngineOptions& options,
                                     QString* whyNot)
{
    auto control = MpvPlayerControl::Create(options, whyNot);
    if (!control)
        return nullptr;
    VideoDrawing drawing = options.videoOutput ? VideoDrawing::OpenGL : VideoDrawing::None;
    if (drawing == VideoDrawing::OpenGL && options.avoidSoftwareOpenGL
        && SoftwareOpenGL::InUse())
        drawing = VideoDrawing::Memory;
    return std::unique_ptr<frmMP2>(new frmMP2(player, std::move(control), drawing));
}

frmMP2::frmMP2(MediaPlayerController& player, std::unique_ptr<MpvPlayerControl> control,
               VideoDrawing drawing)
    : EngineHostForm(player, false), control_(std::move(control))
{
    if (drawing == VideoDrawing::OpenGL)
        setMP(new MpvVideoWidget(*control_));
    else if (drawing == VideoDrawing::Memory)
        setMP(new MpvSoftwareVideoWidget(*control_));
    else
        setMP(new QWidget);
    MpvPlayerControl* engine = control_.get();
    connect(engine, &MpvPlayerControl::OpenStateChange, this, [this] { engineStateChanged(); });
    connect(engine, &MpvPlayerControl::PlayStateChange, this, [this] { engineStateChanged(); });
}

frmMP2::~frmMP2()
{
    // The render context must be gone before mpv's core is destroyed.
    delete MP();
    control_.reset();
}

PlayerStatus frmMP2::Status() const
{
    const int playState = control_->playState();
    const int openState = control_->openState();
    if (playState == 0 || openState == 6)
        return PlayerStatus::NoMedia;
    if (openState != 13)
        return PlayerStatus::Opening;
    switch (playState) {
    case 3:
        return PlayerStatus::Playing;
    case 2:
        return PlayerStatus::Paused;
    case 1:
        return PlayerStatus::Stopped;
    default:
        return PlayerStatus::NoMedia;
    }
}

bool frmMP2::Open(const QString& file)
{
    // The newer control takes any URL and reports a failure through its states.
    control_->setURL(file);
    return true;
}

bool frmMP2::HasError() const
{
    return !CurrentFile().isEmpty() && Status() == PlayerStatus::NoMedia;
}

void frmMP2::SetPosition(double seconds)
{
    control_->controls().setCurrentPosition(seconds);
}

void frmMP2::SetVolume(long volume)
{
    control_->settings().setVolume(int(std::clamp(volume, 0L, 100L)));
}
