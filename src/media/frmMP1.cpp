#include "frmMP1.h"

#include "media/GstVideoSurface.h"

std::unique_ptr<frmMP1> frmMP1::Load(MediaPlayerController& player, const EngineOptions& options,
                                     QString* whyNot)
{
    auto control = GstPlayerControl::Create(options, whyNot);
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
        auto* surface = new GstVideoSurface([engine] { engine->Expose(); },
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
