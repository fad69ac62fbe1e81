#pragma once

#include <QOpenGLWidget>

struct mpv_render_context;
class MpvPlayerControl;

// Engine 2's picture: mpv draws each frame through its render API into this widget's
// framebuffer. The GL context is Qt's; when the widget moves to another top-level window Qt
// replaces the context, and the render context is freed and made again with it.
class MpvVideoWidget : public QOpenGLWidget {
    Q_OBJECT
public:
    MpvVideoWidget(MpvPlayerControl& control, QWidget* parent = nullptr);
    ~MpvVideoWidget() override;

    // True once a render context exists (the video output has something to draw into).
    bool HasRenderContext() const { return render_ != nullptr; }
    // How many render contexts this widget has made: one per GL context Qt gave it.
    int RenderContextsCreated() const { return created_; }

protected:
    void initializeGL() override;
    void paintGL() override;

private:
    void freeRenderContext();
    static void onUpdate(void* self);

    MpvPlayerControl& control_;
    mpv_render_context* render_ = nullptr;
    int created_ = 0;
};
