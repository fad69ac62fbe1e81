#include "frmMP2.h"

#include "media/MpvSoftwareVideoWidget.h"
#include "media/MpvVideoWidget.h"

std::unique_ptr<frmMP2> frmMP2::Load(MediaPlayerController& player, const EngineOptions& options,
                                     QString* whyNot)
{
    auto control = MpvPlayerControl::Create(options, whyNot);
    if (!control)
        return nullptr;
    VideoDrawing drawing = options.videoOutput ? VideoDrawing::OpenGL : VideoDrawing::None;
    if (drawing == VideoDrawing::OpenGL && options.avoidSoftwareOpenGL
        && MpvSoftwareVideoWidget::OpenGLIsSoftware())
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
