#include "controls/XFlatButton.h"

#include "controls/FlatToolTip.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>

XFlatButton::XFlatButton(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::TabFocus);
    m_tmrMouse.setInterval(50);
    m_grad.setInterval(10);
    m_tmrToolTip.setSingleShot(true);
    m_tmrToolTip.setInterval(SystemHoverTime());
    connect(&m_tmrMouse, &QTimer::timeout, this, &XFlatButton::WatchPointer);
    connect(&m_grad, &QTimer::timeout, this, &XFlatButton::StepFade);
    connect(&m_tmrToolTip, &QTimer::timeout, this, &XFlatButton::ShowToolTipNow);
    m_pointerProbe = [] { return QApplication::widgetAt(QCursor::pos()); };
    m_shownText = TargetTextColor(Look::Normal);
    m_shownBack = TargetBackColor(Look::Normal);
}

XFlatButton::~XFlatButton()
{
    delete m_toolTip;
}

int XFlatButton::SystemHoverTime()
{
    return QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay);
}

void XFlatButton::SetText(const QString& text)
{
    if (text == m_text)
        return;
    m_text = text;
    Refresh();
}

void XFlatButton::SetFont(const QFont& font)
{
    setFont(font);
    Refresh();
}

void XFlatButton::SetTextAlignment(int alignment)
{
    if (alignment == m_textAlignment)
        return;
    m_textAlignment = alignment;
    Refresh();
}

void XFlatButton::SetEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    // Still a live widget, so mouse events can be passed on while disabled, but out of the
    // tab order like any disabled control.
    setFocusPolicy(enabled ? Qt::TabFocus : Qt::NoFocus);
    if (!enabled) {
        if (hasFocus())
            clearFocus();
        m_mousePressed = m_keyPressed = false;
        if (m_hovered)
            EndHover();
    }
    LookMayHaveChanged();
    emit EnableStateChanged();
}

void XFlatButton::SetTransparency(bool on)
{
    if (on == m_transparency)
        return;
    m_transparency = on;
    Refresh();
}

void XFlatButton::SetTransparentColor(OleColor color)
{
    if (color == m_transparentColor)
        return;
    m_transparentColor = color;
    Refresh();
}

void XFlatButton::SetStatePicture(int state, const QPixmap& picture)
{
    m_pictures[state] = picture;
    Refresh();
}

int XFlatButton::FocusMargin() const
{
    return m_focusMargin.value_or(std::max(2, std::min(width(), height()) / 6));
}

void XFlatButton::SetFocusMargin(int margin)
{
    m_focusMargin = margin;
    Refresh();
}

void XFlatButton::SetGradientLength(int milliseconds)
{
    m_gradientMs = std::max(0, milliseconds);
    if (m_gradientMs == 0 && m_grad.isActive()) {
        m_grad.stop();
        StepFade();
    }
}

void XFlatButton::SetToggleStatePressed(bool pressed)
{
    if (pressed == m_toggleStatePressed)
        return;
    m_toggleStatePressed = pressed;
    LookMayHaveChanged();
    emit ToggleChanged(pressed);
    // Only the button the user acted on sets its group; the others' own changes must not ripple
    // back through the group again.
    if (m_group == 0 || m_applyingGroup || !parentWidget())
        return;
    const auto siblings =
        parentWidget()->findChildren<XFlatButton*>(Qt::FindDirectChildrenOnly);
    for (XFlatButton* other : siblings) {
        if (other == this || other->m_group != m_group)
            continue;
        other->m_applyingGroup = true;
        other->SetToggleStatePressed(!pressed);
        other->m_applyingGroup = false;
    }
}

void XFlatButton::Toggle()
{
    if (m_togglable)
        SetToggleStatePressed(!m_toggleStatePressed);
}

XFlatButton::Look XFlatButton::CurrentLook() const
{
    if (!m_enabled)
        return Look::Disabled;
    if (m_forcedLook)
        return *m_forcedLook;
    if ((m_mousePressed && m_hovered) || m_keyPressed || (m_togglable && m_toggleStatePressed))
        return Look::Pressed;
    return m_hovered ? Look::Hovered : Look::Normal;
}

void XFlatButton::ForceLook(Look look, bool lockState, bool repaintNow)
{
    m_forcedLook = look;
    m_locked = lockState;
    LookMayHaveChanged();
    if (repaintNow)
        repaint();
}

void XFlatButton::ShowNotHovering(bool lockState, bool repaintNow)
{
    ForceLook(Look::Normal, lockState, repaintNow);
}

void XFlatButton::ShowPressed(bool lockState, bool repaintNow)
{
    ForceLook(Look::Pressed, lockState, repaintNow);
}

void XFlatButton::ShowHovering(bool lockState, bool repaintNow)
{
    ForceLook(Look::Hovered, lockState, repaintNow);
}

void XFlatButton::UnlockState()
{
    m_locked = false;
    m_forcedLook.reset();
    LookMayHaveChanged();
}

void XFlatButton::LookMayHaveChanged()
{
    const Look look = CurrentLook();
    if (look != m_lastLook) {
        m_lastLook = look;
        if (m_gradientMs > 0) {
            m_fadeFromText = m_shownText;
            m_fadeFromBack = m_shownBack;
            m_fadeClock.start();
            m_grad.start();
        }
    }
    if (!m_grad.isActive()) {
        m_shownText = TargetTextColor(look);
        m_shownBack = TargetBackColor(look);
    }
    Refresh();
}

void XFlatButton::StepFade()
{
    const Look look = CurrentLook();
    const QColor text = TargetTextColor(look), back = TargetBackColor(look);
    const double t = m_gradientMs > 0 ? m_fadeClock.elapsed() / double(m_gradientMs) : 1.0;
    if (t >= 1.0) {
        m_grad.stop();
        m_shownText = text;
        m_shownBack = back;
    } else {
        auto mix = [t](const QColor& a, const QColor& b) {
            return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t),
                                    float(a.greenF() + (b.greenF() - a.greenF()) * t),
                                    float(a.blueF() + (b.blueF() - a.blueF()) * t));
        };
        m_shownText = mix(m_fadeFromText, text);
        m_shownBack = mix(m_fadeFromBack, back);
    }
    Refresh();
}

bool XFlatButton::Presses(Qt::MouseButton button) const
{
    return button == Qt::LeftButton || (button == Qt::RightButton && m_allowRightClick);
}

void XFlatButton::Press(bool takeFocus)
{
    if (takeFocus && m_showFocus != 0)
        setFocus(Qt::MouseFocusReason);
    if (!m_locked)
        m_forcedLook.reset();
    LookMayHaveChanged();
}

void XFlatButton::mousePressEvent(QMouseEvent* event)
{
    if (m_enabled && Presses(event->button())) {
        m_mousePressed = true;
        // A press with no move before it (a touch, a synthetic click) still starts the hover,
        // so the watchdog ends it again.
        if (!m_hovered && rect().contains(event->position().toPoint()))
            BeginHover();
        Press(true);
    }
    if (PassesMouseEvents())
        emit MouseDown(event->button(), event->modifiers(), event->position().x(),
                       event->position().y());
}

void XFlatButton::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second press of a double click presses the button like any other press.
    mousePressEvent(event);
    if (PassesMouseEvents())
        emit DblClick();
}

void XFlatButton::ReleasePress(bool activates)
{
    if (activates)
        Toggle();
    if (!m_locked)
        m_forcedLook.reset();
    LookMayHaveChanged();
}

void XFlatButton::mouseReleaseEvent(QMouseEvent* event)
{
    bool wasPressed = false;
    if (m_enabled && Presses(event->button())) {
        // Released away from the button, the press is abandoned: no toggle, no click.
        wasPressed = m_mousePressed && rect().contains(event->position().toPoint());
        m_mousePressed = false;
        ReleasePress(wasPressed);
    }
    if (PassesMouseEvents())
        emit MouseUp(event->button(), event->modifiers(), event->position().x(),
                     event->position().y());
    if (m_enabled && wasPressed)
        emit Click();
}

void XFlatButton::mouseMoveEvent(QMouseEvent* event)
{
    TrackPointer(event->position().toPoint(), event->buttons());
    if (PassesMouseEvents())
        emit MouseMove(event->buttons(), event->modifiers(), event->position().x(),
                       event->position().y());
}

void XFlatButton::keyPressEvent(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Space) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (!event->isAutoRepeat() && m_enabled && !m_keyPressed) {
        m_keyPressed = true;
        Press(false);
    }
}

void XFlatButton::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Space) {
        QWidget::keyReleaseEvent(event);
        return;
    }
    if (event->isAutoRepeat() || !m_keyPressed)
        return;
    m_keyPressed = false;
    if (!m_enabled)
        return;
    ReleasePress(true);
    emit Click();
}

void XFlatButton::focusInEvent(QFocusEvent*)
{
    QWidget* newFocus = nullptr;
    emit MustLoseFocus(newFocus);
    if (newFocus && newFocus != this)
        newFocus->setFocus(Qt::OtherFocusReason);
    Refresh();
}

void XFlatButton::focusOutEvent(QFocusEvent*)
{
    if (m_keyPressed) {
        m_keyPressed = false;
        LookMayHaveChanged();
    }
    Refresh();
}

void XFlatButton::resizeEvent(QResizeEvent*)
{
    emit Resize();
    Refresh();
}
