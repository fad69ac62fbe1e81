#include "controls/nFrame.h"

#include "controls/PropertyBag.h"

#include <QChildEvent>
#include <QDragMoveEvent>
#include <QGroupBox>

namespace {

// Drag states as the owner's handler knows them: entering, leaving, moving over.
constexpr int kDragEnter = 0, kDragLeave = 1, kDragOver = 2;

} // namespace

nFrame::nFrame(QWidget* parent) : QWidget(parent)
{
    m_frame = new QGroupBox(m_text, this);
    m_frame->setGeometry(rect());
    m_frame->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_frame->lower();
    m_frame->setVisible(m_drawBorder);
    setAcceptDrops(true);
}

void nFrame::SetText(const QString& text)
{
    if (text == m_text)
        return;
    emit PropertyChanged(QStringLiteral("Text"));
    m_text = text;
    m_frame->setTitle(text);
}

void nFrame::SetDrawBorder(bool draw)
{
    if (draw == m_drawBorder)
        return;
    emit PropertyChanged(QStringLiteral("DrawBorder"));
    m_drawBorder = draw;
    m_frame->setVisible(draw);
    Refresh();
}

void nFrame::SetFont(const QFont& newFont)
{
    if (newFont == font())
        return;
    emit PropertyChanged(QStringLiteral("Font"));
    setFont(newFont);
    m_frame->setFont(newFont);
}

void nFrame::SetAutoEnableChildren(bool on)
{
    if (on == m_autoEnableChildren)
        return;
    emit PropertyChanged(QStringLiteral("AutoEnableChildren"));
    m_autoEnableChildren = on;
    if (on)
        EnableChildren(m_enabled);
}

void nFrame::SetEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    emit PropertyChanged(QStringLiteral("Enabled"));
    m_enabled = enabled;
    m_frame->setEnabled(enabled);
    if (m_autoEnableChildren)
        EnableChildren(enabled);
}

void nFrame::EnableChildren(bool enabled)
{
    const auto children = findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* child : children) {
        if (child == m_frame)
            continue;
        if (child->metaObject()->indexOfProperty("Enabled") >= 0)
            child->setProperty("Enabled", enabled);
        else
            child->setEnabled(enabled);
    }
}

void nFrame::ReadProperties(const PropertyBag& bag)
{
    SetText(bag.ReadProperty(QStringLiteral("Text"), QString()).toString());
    SetDrawBorder(bag.ReadProperty(QStringLiteral("DrawBorder"), true).toBool());
    QFont stored;
    const QString fontText = bag.ReadProperty(QStringLiteral("Font")).toString();
    if (!fontText.isEmpty() && stored.fromString(fontText))
        SetFont(stored);
    SetAutoEnableChildren(bag.ReadProperty(QStringLiteral("AutoEnableChildren"), true).toBool());
    SetEnabled(bag.ReadProperty(QStringLiteral("Enabled"), true).toBool());
}

void nFrame::WriteProperties(PropertyBag& bag) const
{
    bag.WriteProperty(QStringLiteral("Text"), m_text, QString());
    bag.WriteProperty(QStringLiteral("DrawBorder"), m_drawBorder, true);
    bag.WriteProperty(QStringLiteral("Font"), font().toString());
    bag.WriteProperty(QStringLiteral("AutoEnableChildren"), m_autoEnableChildren, true);
    bag.WriteProperty(QStringLiteral("Enabled"), m_enabled, true);
}

void nFrame::resizeEvent(QResizeEvent*)
{
    m_frame->resize(size());
}

void nFrame::childEvent(QChildEvent* event)
{
    QWidget::childEvent(event);
    // A control placed later must still land in front of the group box.
    if (event->added() && m_frame && event->child() != m_frame)
        m_frame->lower();
}

void nFrame::dragEnterEvent(QDragEnterEvent* event)
{
    Qt::DropAction effect = event->dropAction();
    emit OLEDragOver(event->mimeData(), effect, event->buttons(), event->modifiers(),
                     event->position().x(), event->position().y(), kDragEnter);
    event->setDropAction(effect);
    event->accept();
}

void nFrame::dragMoveEvent(QDragMoveEvent* event)
{
    Qt::DropAction effect = event->dropAction();
    emit OLEDragOver(event->mimeData(), effect, event->buttons(), event->modifiers(),
                     event->position().x(), event->position().y(), kDragOver);
    event->setDropAction(effect);
    if (effect == Qt::IgnoreAction)
        event->ignore();
    else
        event->accept();
}

void nFrame::dragLeaveEvent(QDragLeaveEvent*)
{
    Qt::DropAction effect = Qt::IgnoreAction;
    emit OLEDragOver(nullptr, effect, Qt::NoButton, Qt::NoModifier, -1, -1, kDragLeave);
}
