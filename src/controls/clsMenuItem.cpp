#include "controls/clsMenuItem.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace {

const char* const kUncheckedPicture = "veltrixUncheckedPicture";
const char* const kCheckedPicture = "veltrixCheckedPicture";
const char* const kFollowsState = "veltrixPictureFollowsState";

QMenuBar* MenuBarOf(QWidget* window)
{
    if (!window)
        return nullptr;
    if (auto* main = qobject_cast<QMainWindow*>(window); main && main->menuWidget())
        return qobject_cast<QMenuBar*>(main->menuWidget());
    return window->findChild<QMenuBar*>();
}

// Each item is compared before the contents of its sub-menu, so the earliest caption wins.
bool Search(QWidget* menu, const QString& caption, QWidget*& foundMenu, QAction*& foundItem)
{
    for (QAction* action : menu->actions()) {
        if (!action->text().isEmpty() && action->text() == caption) {
            foundMenu = menu;
            foundItem = action;
            return true;
        }
        if (QMenu* sub = action->menu(); sub && Search(sub, caption, foundMenu, foundItem))
            return true;
    }
    return false;
}

// A state without a picture shows nothing when the other state has one (as a native item with
// one check-mark bitmap does); only without any picture does the usual tick or box come back.
// Nothing is a blank picture: a menu draws its check box wherever an item has no icon.
void ShowStatePicture(QAction* item)
{
    const auto unchecked = item->property(kUncheckedPicture).value<QPixmap>();
    const auto checked = item->property(kCheckedPicture).value<QPixmap>();
    const QPixmap& shown = item->isChecked() ? checked : unchecked;
    const QPixmap& other = item->isChecked() ? unchecked : checked;
    if (!shown.isNull()) {
        item->setIcon(QIcon(shown));
    } else if (!other.isNull()) {
        QPixmap blank(other.size());
        blank.fill(Qt::transparent);
        item->setIcon(QIcon(blank));
    } else {
        item->setIcon(QIcon());
    }
}

QWidget* ParentFormOf(QAction* m)
{
    // The action's parent is usually its menu; the form is that menu's top-level window.
    for (QObject* at = m->parent(); at; at = at->parent()) {
        if (auto* widget = qobject_cast<QWidget*>(at)) {
            QWidget* window = widget->window();
            // A QMenu is a window of its own; its form is the window of whoever holds it,
            // however deep the sub-menus go.
            while (qobject_cast<QMenu*>(window) && window->parentWidget())
                window = window->parentWidget()->window();
            return window;
        }
    }
    return nullptr;
}

} // namespace

void clsMenuItem::SetToHandle(QWidget* menu, QAction* item)
{
    m_menu = menu;
    m_item = item;
}

void clsMenuItem::SetTo(QAction* m)
{
    m_menu = nullptr;
    m_item = nullptr;
    m_owner = m ? ParentFormOf(m) : nullptr;
    QMenuBar* bar = MenuBarOf(m_owner);
    if (!bar)
        return;
    QWidget* menu = nullptr;
    QAction* item = nullptr;
    if (Search(bar, m->text(), menu, item)) {
        m_menu = menu;
        m_item = item;
    }
}

bool clsMenuItem::Checked() const
{
    return m_item && m_item->isChecked();
}

void clsMenuItem::SetChecked(bool checked)
{
    if (!m_item)
        return;
    if (checked)
        m_item->setCheckable(true);
    m_item->setChecked(checked);
}

bool clsMenuItem::Hilited() const
{
    if (!m_item || !m_menu)
        return false;
    if (auto* menu = qobject_cast<QMenu*>(m_menu))
        return menu->activeAction() == m_item;
    if (auto* bar = qobject_cast<QMenuBar*>(m_menu))
        return bar->activeAction() == m_item;
    return false;
}

void clsMenuItem::SetHilited(bool hilited)
{
    if (!m_item || !m_menu || hilited == Hilited())
        return;
    QAction* target = hilited ? m_item.data() : nullptr;
    if (auto* menu = qobject_cast<QMenu*>(m_menu))
        menu->setActiveAction(target);
    else if (auto* bar = qobject_cast<QMenuBar*>(m_menu))
        bar->setActiveAction(target);
}

bool clsMenuItem::Enabled() const
{
    return m_item && m_item->isEnabled();
}

void clsMenuItem::SetEnabled(bool enabled)
{
    if (m_item)
        m_item->setEnabled(enabled);
}

QString clsMenuItem::Text() const
{
    return m_item ? m_item->text() : QString();
}

void clsMenuItem::SetText(const QString& text)
{
    if (m_item)
        m_item->setText(text);
}

void clsMenuItem::SetBitmaps(const QPixmap& unchecked, const QPixmap& checked)
{
    if (!m_item)
        return;
    m_item->setProperty(kUncheckedPicture, unchecked);
    m_item->setProperty(kCheckedPicture, checked);
    // One connection per item, however often its pictures are replaced.
    if (!m_item->property(kFollowsState).toBool()) {
        m_item->setProperty(kFollowsState, true);
        QObject::connect(m_item, &QAction::toggled, m_item,
                         [item = m_item.data()] { ShowStatePicture(item); });
    }
    ShowStatePicture(m_item);
}
