#include "controls/XFlatButton.h"

#include "controls/FlatToolTip.h"

#include <QApplication>
#include <QCursor>
#include <QScreen>

// Hover tracking and the button's own tooltip. Qt's leave event is not relied on alone: a
// pointer that leaves fast enough, or over another program's window, may send none, so a 50 ms
// watchdog checks what is under the pointer while the button is hovered.

void XFlatButton::leaveEvent(QEvent*)
{
    TrackPointer(QPoint(-1, -1), QApplication::mouseButtons());
}

void XFlatButton::TrackPointer(const QPoint& position, Qt::MouseButtons)
{
    const bool inside = rect().contains(position);
    if (inside && !m_hovered && m_enabled)
        BeginHover();
    else if (!inside && m_hovered)
        EndHover();
}

void XFlatButton::BeginHover()
{
    m_hovered = true;
    m_tmrMouse.start();
    if (m_toolTipBehavior == ToolTipAtOnce)
        ShowToolTipNow();
    else if (m_toolTipBehavior == ToolTipAfterHover)
        m_tmrToolTip.start();
    if (!m_locked)
        m_forcedLook.reset();
    LookMayHaveChanged();
    emit Hover();
}

void XFlatButton::EndHover()
{
    m_hovered = false;
    m_tmrMouse.stop();
    HideToolTip();
    if (!m_locked)
        m_forcedLook.reset();
    LookMayHaveChanged();
    emit StopHover();
}

void XFlatButton::WatchPointer()
{
    if (window()->isMinimized())
        HideToolTip();
    if (m_locked)
        return;
    QWidget* under = m_pointerProbe ? m_pointerProbe() : nullptr;
    if (under != this)
        TrackPointer(QPoint(-1, -1), QApplication::mouseButtons());
}

bool XFlatButton::event(QEvent* event)
{
    // The button shows its own tooltip; Qt's would appear beside it.
    if (event->type() == QEvent::ToolTip)
        return true;
    return QWidget::event(event);
}

bool XFlatButton::ToolTipVisible() const
{
    return m_toolTip && m_toolTip->isVisible();
}

void XFlatButton::SetToolTipVisible(bool visible)
{
    if (visible)
        ShowToolTipNow();
    else
        HideToolTip();
}

void XFlatButton::ShowToolTipNow()
{
    QString text = toolTip();
    bool cancel = false;
    emit ToolTip(text, cancel);
    if (cancel || text.trimmed().isEmpty())
        return;
    if (!m_toolTip)
        m_toolTip = new FlatToolTip;
    m_toolTip->SetText(text);
    m_toolTip->SetAppearance(m_toolTipAppearance);
    const QPoint pointer = QCursor::pos();
    QScreen* screen = QGuiApplication::screenAt(pointer);
    if (!screen)
        screen = this->screen();
    const QRect onScreen(mapToGlobal(QPoint(0, 0)), size());
    m_toolTip->ShowAt(FlatToolTip::Placement(pointer, onScreen, m_toolTip->size(),
                                             screen->geometry()));
}

void XFlatButton::HideToolTip()
{
    m_tmrToolTip.stop();
    if (m_toolTip)
        m_toolTip->close();
}
