#pragma once

#include <QImage>
#include <QWidget>

#include <memory>

struct mpv_render_context;
class MpvPlayerControl;

// Engine 2's picture where the only OpenGL is a software renderer (no GPU driver, a virtual
// machine, a remote display). There a GL widget costs more than the video itself: Qt composes
// the whole window through OpenGL on every frame, in software. Like mpv's own player, which
// refuses such an OpenGL, this widget has mpv draw each frame into memory instead and paints
// it as any other widget; only the picture's area reaches the X server.
class MpvSoftwareVideoWidget : public QWidget {
    Q_OBJECT
public:
    MpvSoftwareVideoWidget(MpvPlayerControl& control, QWidget* parent = nullptr);
    ~MpvSoftwareVideoWidget() override;

    bool HasRenderContext() const { return render_ != nullptr; }
    // Frames mpv has drawn into this widget's picture.
    int FramesDrawn() const { return framesDrawn_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Q_INVOKABLE void drawFrame();
    static void onUpdate(void* self);

    MpvPlayerControl& control_;
    mpv_render_context* render_ = nullptr;
    // mpv's scalers want 64-byte aligned lines; QImage only wraps the buffer.
    std::unique_ptr<uchar, void (*)(void*)> pixels_{nullptr, &std::free};
    QImage picture_;
    int framesDrawn_ = 0;
};
