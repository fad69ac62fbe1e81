#include "MpvVideoWidget.h"

#include "media/MpvPlayerControl.h"

#include <mpv/render_gl.h>

#include <QMetaObject>
#include <QOpenGLContext>

namespace {

void* procAddress(void*, const char* name)
{
    QOpenGLContext* context = QOpenGLContext::currentContext();
    return context ? reinterpret_cast<void*>(context->getProcAddress(name)) : nullptr;
}

}  // namespace

MpvVideoWidget::MpvVideoWidget(MpvPlayerControl& control, QWidget* parent)
    : QOpenGLWidget(parent), control_(control)
{
}

MpvVideoWidget::~MpvVideoWidget()
{
    freeRenderContext();
}

void MpvVideoWidget::initializeGL()
{
    // Runs again after Qt re-created the context for a new top-level window.
    connect(context(), &QOpenGLContext::aboutToBeDestroyed, this,
            [this] {
                control_.RenderContextLost();
                freeRenderContext();
            },
            Qt::DirectConnection);
    mpv_opengl_init_params glInit{&procAddress, nullptr};
    int advancedControl = 0;
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_OPENGL)},
        {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &glInit},
        {MPV_RENDER_PARAM_ADVANCED_CONTROL, &advancedControl},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    if (control_.Library().render_context_create(&render_, control_.Handle(), params) < 0) {
        render_ = nullptr;
        return;
    }
    ++created_;
    control_.Library().render_context_set_update_callback(render_, &MpvVideoWidget::onUpdate,
                                                          this);
    control_.RenderContextRestored();
}

void MpvVideoWidget::paintGL()
{
    if (!render_)
        return;
    const qreal ratio = devicePixelRatioF();
    mpv_opengl_fbo fbo{int(defaultFramebufferObject()), int(width() * ratio),
                       int(height() * ratio), 0};
    int flipY = 1;
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_OPENGL_FBO, &fbo},
        {MPV_RENDER_PARAM_FLIP_Y, &flipY},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    control_.Library().render_context_render(render_, params);
}

void MpvVideoWidget::freeRenderContext()
{
    if (!render_)
        return;
    makeCurrent();
    control_.Library().render_context_set_update_callback(render_, nullptr, nullptr);
    control_.Library().render_context_free(render_);
    render_ = nullptr;
    doneCurrent();
}

void MpvVideoWidget::onUpdate(void* self)
{
    // mpv's render thread: only a queued repaint request.
    QMetaObject::invokeMethod(static_cast<MpvVideoWidget*>(self), "update", Qt::QueuedConnection);
}
