#include "frmMP1.h"

#include "media/GstVideoSurface.h"
#include "media/SoftwareOpenGL.h"
#include "platform/Rounding.h"

#include <cmath>

std::unique_ptr<frmMP1> frmMP1::Load(MediaPlayerController& player, const EngineOptions& options,
                                     QString* whyNot)
{
    // Where OpenGL renders in software, the frames are scaled once and drawn through X11.
    const bool openGL = !(options.avoidSoftwareOpenGL && SoftwareOpenGL::InUse());
    auto control = GstPlayerControl::Create(options, openGL, whyNot);
    if (!control)
        return nullptr;
    return std::unique_ptr<frmMP1>(new frmMP1(player, std::move(control), options.videoOutput));
}

frmMP1::frmMP1(MediaPlayerController& player, std::unique_ptr<GstPlayerControl> control,
               bool videoOutput)
    : EngineHostForm(player, videoOutput), control_(std::move(control))
{
    GstPlayerControl* engine = control_.get();
    if (videoOutput) {
        auto* surface = new GstVideoSurface([engine](const QSize& size) { engine->Expose(size); },
                                            [engine](quintptr window) {
                                                engine->SetWindowHandle(window);
                                            });
        setMP(surface);
        engine->SetWindowHandle(quintptr(surface->winId()));
    } else {
        setMP(new QWidget);
    }
    connect(engine, &GstPlayerControl::OpenStateChange, this, [this] { engineStateChanged(); });
    connect(engine, &GstPlayerControl::PlayStateChange, this, [this] { engineStateChanged(); });
}

frmMP1::~frmMP1()
{
    // The pipeline stops before the window it draws into goes with PIC.
    control_.reset();
}

PlayerStatus frmMP1::Status() const
{
    if (control_->OpenState() == 0)
        return PlayerStatus::NoMedia;
    switch (control_->PlayState()) {
    case 2:
        return PlayerStatus::Playing;
    case 1:
        return PlayerStatus::Paused;
    case 0:
        return PlayerStatus::Stopped;
    default:
        return PlayerStatus::Opening;
    }
}

long frmMP1::Volume() const
{
    // The inverse of the curve below, with the rounded third the curve was published with.
    const double level = -double(control_->Volume()) / 0.007;
    return RoundToInt32(100 - std::pow(level, 0.33333)).value_or(0);
}

void frmMP1::SetVolume(long volume)
{
    // The classic control's scale is hundredths of a decibel; a cubic curve makes the lower
    // half of the slider still audible.
    const double quieter = 100.0 - double(volume);
    const auto hundredths = RoundToInt32(-0.007 * quieter * quieter * quieter);
    if (hundredths)
        control_->SetVolume(*hundredths);
}
