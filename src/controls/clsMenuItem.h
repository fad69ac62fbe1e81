#pragma once

#include <QPixmap>
#include <QPointer>
#include <QWidget>

class QAction;

// Reaches one item of a form's menu bar by its caption, to read and set its state directly and
// to give its checked state a picture of its own in place of the tick.
class clsMenuItem
{
public:
    // Addresses an item directly: the menu (or menu bar) that holds it, and the item.
    void SetToHandle(QWidget* menu, QAction* item);
    // Finds the first item, depth first through the menu bar of m's form, whose caption equals
    // m's; the menu bar is that of the window of m's parent widget. Nothing found leaves the
    // helper pointing nowhere, and every state then reads false.
    void SetTo(QAction* m);

    QWidget* Menu() const { return m_menu; }
    QAction* Item() const { return m_item; }
    QWidget* Owner() const { return m_owner; }

    bool Checked() const;
    void SetChecked(bool checked);
    bool Hilited() const;
    void SetHilited(bool hilited);
    bool Enabled() const;
    void SetEnabled(bool enabled);
    QString Text() const;
    void SetText(const QString& text);

    // Pictures for the unchecked and checked states; a null picture means none: that state shows
    // nothing, or the usual tick when neither has a picture. They follow the item's state.
    void SetBitmaps(const QPixmap& unchecked, const QPixmap& checked);

private:
    QPointer<QWidget> m_menu;
    QPointer<QAction> m_item;
    QPointer<QWidget> m_owner;
};
