#include "MpvSoftwareVideoWidget.h"

#include "media/MpvPlayerControl.h"

#include <QMetaObject>
#include <QPaintEvent>
#include <QPainter>

#include <cstdlib>

namespace {
constexpr size_t kLineAlignment = 64;

}  // namespace

MpvSoftwareVideoWidget::MpvSoftwareVideoWidget(MpvPlayerControl& control, QWidget* parent)
    : QWidget(parent), control_(control)
{
    // Every pixel is painted from the picture; nothing behind needs drawing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_SW)},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    // Made before any file opens, so mpv's video output always has somewhere to draw.
    if (control_.Library().render_context_create(&render_, control_.Handle(), params) < 0) {
        render_ = nullptr;
        return;
    }
    control_.Library().render_context_set_update_callback(render_, &onUpdate, this);
}

MpvSoftwareVideoWidget::~MpvSoftwareVideoWidget()
{
    if (!render_)
        return;
    control_.Library().render_context_set_update_callback(render_, nullptr, nullptr);
    control_.Library().render_context_free(render_);
}

void MpvSoftwareVideoWidget::drawFrame()
{
    if (!render_)
        return;
    const qreal ratio = devicePixelRatioF();
    const QSize size = (QSizeF(this->size()) * ratio).toSize();
    if (size.isEmpty())
        return;
    if (picture_.size() != size) {
        const size_t stride = (size_t(size.width()) * 4 + kLineAlignment - 1) / kLineAlignment
                            * kLineAlignment;
        pixels_.reset(static_cast<uchar*>(
            std::aligned_alloc(kLineAlignment, stride * size_t(size.height()))));
        if (!pixels_) {
            picture_ = QImage();
            return;
        }
        picture_ = QImage(pixels_.get(), size.width(), size.height(), qsizetype(stride),
                          QImage::Format_RGB32);
        picture_.setDevicePixelRatio(ratio);
    }
    int surfaceSize[2] = {size.width(), size.height()};
    // QImage's RGB32 is blue, green, red, unused in memory order.
    char format[] = "bgr0";
    size_t stride = size_t(picture_.bytesPerLine());
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_SW_SIZE, surfaceSize},
        {MPV_RENDER_PARAM_SW_FORMAT, format},
        {MPV_RENDER_PARAM_SW_STRIDE, &stride},
        {MPV_RENDER_PARAM_SW_POINTER, pixels_.get()},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    if (control_.Library().render_context_render(render_, params) >= 0) {
        ++framesDrawn_;
        update();
    }
}

void MpvSoftwareVideoWidget::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QSize wanted = (QSizeF(size()) * devicePixelRatioF()).toSize();
    if (picture_.size() != wanted) {
        // Resized since the last frame: black until mpv draws at the new size.
        painter.fillRect(event->rect(), Qt::black);
        QMetaObject::invokeMethod(this, "drawFrame", Qt::QueuedConnection);
        return;
    }
    painter.drawImage(event->rect().topLeft(), picture_,
                      QRectF(QPointF(event->rect().topLeft()) * devicePixelRatioF(),
                             QSizeF(event->rect().size()) * devicePixelRatioF()));
}

void MpvSoftwareVideoWidget::onUpdate(void* self)
{
    // mpv's render thread: only a queued call; drawing happens on the user-interface thread.
    QMetaObject::invokeMethod(static_cast<MpvSoftwareVideoWidget*>(self), "drawFrame",
                              Qt::QueuedConnection);
}
