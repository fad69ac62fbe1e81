// The controller's window side: the picture box's placement and size, zoom, full screen and the
// mouse events the engine hosts forward.
#include "MediaPlayerController.h"

#include "platform/Rounding.h"

#include <QCursor>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cmath>

QWidget* MediaPlayerController::Container() const
{
    return engine_ ? engine_->PIC() : nullptr;
}

quintptr MediaPlayerController::hwndContainer() const
{
    // PIC of engine 2 has no window of its own (its GL widget must not); the window it is
    // drawn in stands for it, without creating one as winId() would.
    QWidget* pic = Container();
    return pic ? quintptr(pic->effectiveWinId()) : 0;
}

long MediaPlayerController::Width() const
{
    QWidget* pic = Container();
    return pic ? pic->width() : 0;
}

long MediaPlayerController::Height() const
{
    QWidget* pic = Container();
    return pic ? pic->height() : 0;
}

double MediaPlayerController::Zoom() const
{
    const long videoWidth = WidthOriginalVideo();
    const long videoHeight = HeightOriginalVideo();
    if (videoWidth == 0 || videoHeight == 0)
        return 0;
    return std::min(double(Width()) / videoWidth, double(Height()) / videoHeight);
}

void MediaPlayerController::SetZoom(double factor)
{
    QWidget* pic = Container();
    QWidget* main = host_ ? host_->MainWindow() : nullptr;
    const long videoWidth = WidthOriginalVideo();
    const long videoHeight = HeightOriginalVideo();
    // Without a known video size the window would shrink to its frame: leave it as it is.
    if (!pic || !main || videoWidth <= 0 || videoHeight <= 0 || !std::isfinite(factor)
        || factor <= 0)
        return;
    const QRect outer = main->frameGeometry();
    const auto outerWidth =
        RoundToInt32(videoWidth * factor + (outer.width() - pic->width()));
    const auto outerHeight =
        RoundToInt32(videoHeight * factor + (outer.height() - pic->height()));
    if (!outerWidth || !outerHeight)
        return;
    // Qt sizes the client area; the frame around it stays what it is.
    main->resize(main->width() + (*outerWidth - outer.width()),
                 main->height() + (*outerHeight - outer.height()));
}

void MediaPlayerController::Resize()
{
    if (!engine_ || !engine_->PIC())
        return;
    QWidget* area = nullptr;
    if (host_)
        area = fullScreen_ ? host_->FullScreenWindow() : host_->VideoArea();
    if (area)
        engine_->PIC()->resize(area->width(), area->height());
    engine_->PIC_Resize();
    engine_->FitToPicture();
}

void MediaPlayerController::AttachContainer()
{
    if (!engine_ || !engine_->PIC() || !host_)
        return;
    QWidget* target = fullScreen_ ? host_->FullScreenWindow() : host_->VideoArea();
    if (!target)
        return;
    QWidget* pic = engine_->PIC();
    pic->setParent(target);
    pic->move(0, 0);
    pic->show();
}

void MediaPlayerController::SetFullScreen(bool fullScreen)
{
    if (fullScreen == fullScreen_)
        return;
    fullScreen_ = fullScreen;
    if (!host_)
        return;
    QWidget* main = host_->MainWindow();
    if (fullScreen) {
        QWidget* window = host_->LoadFullScreenWindow();
        if (window) {
            QScreen* screen = main ? main->screen() : window->screen();
            if (screen)
                window->setGeometry(screen->geometry());
        }
        AttachContainer();
        if (main)
            main->hide();
        Resize();
        if (window)
            window->show();
    } else {
        if (QWidget* window = host_->FullScreenWindow())
            window->hide();
        AttachContainer();
        Resize();
        host_->UnloadFullScreenWindow();
        if (main)
            main->show();
        host_->ReapplyAlwaysOnTop();
    }
    host_->ReleaseOverlaySurface();
}

void MediaPlayerController::EventMouseDown(int button, int, long, long)
{
    if (button == 1 && engine_ && engine_->ClickTogglesPlayback())
        PlayToggle();
}

void MediaPlayerController::EventMouseUp(int button, int, long, long)
{
    if (button != 2 || !host_)
        return;
    QWidget* owner = host_->SubtitleWindow();
    if (!owner)
        owner = host_->MainWindow();
    host_->ShowVideoMenu(owner, QCursor::pos());
}
