#pragma once

#include <QPointer>
#include <QWidget>

class PropertyBag;
class QGroupBox;
class QMimeData;

// A container drawn as a group box that can switch all the controls placed in it on or off.
// The group box lies behind the contained controls and always covers the whole container.
class nFrame : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)

public:
    explicit nFrame(QWidget* parent = nullptr);

    QString Text() const { return m_text; }
    void SetText(const QString& text);
    bool DrawBorder() const { return m_drawBorder; }
    void SetDrawBorder(bool draw);
    QFont Font() const { return font(); }
    void SetFont(const QFont& font);
    bool AutoEnableChildren() const { return m_autoEnableChildren; }
    void SetAutoEnableChildren(bool on);
    // The frame's own state; kept apart from QWidget's, which would switch every child along
    // with it whatever AutoEnableChildren says.
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled);

    // Sets the enabled state of every contained control: through its own "Enabled" property
    // where it has one (the program's self-drawn controls), else the widget's.
    void EnableChildren(bool enabled);
    void Refresh() { update(); }
    QGroupBox* hwndFrame() const { return m_frame; }

    void ReadProperties(const PropertyBag& bag);
    void WriteProperties(PropertyBag& bag) const;

signals:
    void OLEDragOver(const QMimeData* data, Qt::DropAction& effect, Qt::MouseButtons button,
                     Qt::KeyboardModifiers shift, int x, int y, int state);
    void PropertyChanged(const QString& name);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void childEvent(QChildEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;

private:
    QString m_text;
    bool m_drawBorder = true;
    bool m_autoEnableChildren = true;
    bool m_enabled = true;
    QGroupBox* m_frame = nullptr; // a child, deleted with the frame
};
