#include "EngineHostForm.h"

#include "media/MediaPlayerController.h"
#include "platform/Rounding.h"

#include <QMouseEvent>

namespace {

int buttonCode(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return 0;
    }
}

int shiftCode(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0)
        | (modifiers & Qt::AltModifier ? 4 : 0);
}

}  // namespace

EngineHostForm::EngineHostForm(MediaPlayerController& player, bool nativePicture)
    : QWidget(nullptr, Qt::FramelessWindowHint), player_(player), pic_(new QWidget(this))
{
    pic_->setObjectName(QStringLiteral("PIC"));
    if (nativePicture)
        pic_->setAttribute(Qt::WA_NativeWindow);
    pic_->setAutoFillBackground(true);
    QPalette black = pic_->palette();
    black.setColor(QPalette::Window, Qt::black);
    pic_->setPalette(black);
    pic_->installEventFilter(this);
}

EngineHostForm::~EngineHostForm()
{
    // PIC may live in another window at this point; it is this form's to delete either way,
    // unless that window has already taken it down with itself.
    delete pic_.data();
}

void EngineHostForm::setMP(QWidget* mp)
{
    mp_ = mp;
    mp_->setObjectName(QStringLiteral("MP"));
    mp_->setParent(pic_);
    mp_->setGeometry(0, 0, pic_->width(), pic_->height());
    mp_->installEventFilter(this);
    mp_->show();
}

void EngineHostForm::engineStateChanged()
{
    if (PlayerWindowHost* host = player_.WindowHost())
        host->Able();
}

bool EngineHostForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == pic_ && event->type() == QEvent::Resize)
        PIC_Resize();
    else if (watched == mp_)
        forwardMouse(event);
    return QWidget::eventFilter(watched, event);
}

void EngineHostForm::PIC_Resize()
{
    if (mp_)
        mp_->resize(pic_->size());
}

void EngineHostForm::forwardMouse(QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease
        && type != QEvent::MouseButtonDblClick)
        return;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const int button = buttonCode(mouse->button());
    const int shift = shiftCode(mouse->modifiers());
    const int x = RoundToInt32(mouse->position().x()).value_or(0);
    const int y = RoundToInt32(mouse->position().y()).value_or(0);
    if (type == QEvent::MouseButtonRelease) {
        player_.EventMouseUp(button, shift, x, y);
        return;
    }
    player_.EventMouseDown(button, shift, x, y);
    if (type == QEvent::MouseButtonDblClick)
        return;
    // The keyboard shortcuts keep working after a click on the video.
    if (PlayerWindowHost* host = player_.WindowHost()) {
        QWidget* focus = player_.FullScreen() ? host->FullScreenWindow() : host->MainWindow();
        if (focus) {
            focus->activateWindow();
            focus->setFocus(Qt::MouseFocusReason);
        }
    }
}
