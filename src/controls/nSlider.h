#pragma once

#include <QPixmap>
#include <QWidget>

#include <optional>

class PropertyBag;

// A self-drawn slider whose value runs from 0 at the start of the track to 1 at its end; -1 hides
// the thumb (nothing is playing). The owner learns of user gestures through Slide and Release and
// of every value change, from any source, through Change.
class nSlider : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(double Value READ Value WRITE SetValue)
    Q_PROPERTY(int Orientation READ Orientation WRITE SetOrientation)
    Q_PROPERTY(int Style READ Style WRITE SetStyle)
    Q_PROPERTY(int BlockSize READ BlockSize WRITE SetBlockSize)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)

public:
    enum Looks { SunkenField = 0, Groove = 1, WedgeRising = 2, WedgeFalling = 3 };

    explicit nSlider(QWidget* parent = nullptr);

    double Value() const { return m_value; }
    void SetValue(double value);
    int Orientation() const { return m_orientation; }
    void SetOrientation(int orientation);
    int Style() const { return m_style; }
    void SetStyle(int style);
    int BlockSize() const { return m_blockSize; }
    void SetBlockSize(int blockSize);
    // Kept apart from QWidget's enabled state: a disabled slider must still see the mouse-up that
    // ends a gesture, which Qt would not deliver to a disabled widget.
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled);

    void ReadProperties(const PropertyBag& bag);
    void WriteProperties(PropertyBag& bag) const;

    // Track arithmetic, public so the shell can place things beside the thumb.
    int ThumbStart() const;
    std::optional<double> ValueAtPosition(double position) const;

    QSize sizeHint() const override;

signals:
    void Slide();
    void Release();
    void Change();
    void PropertyChanged(const QString& name);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int TrackLength() const;
    int CrossLength() const;
    int Margin() const;
    double TrackCoordinate(const QMouseEvent* event) const;
    void EnsureBackBuffer(bool grow);
    void Redraw();
    void DrawInto(QPainter& painter) const;
    void DrawTrackLine(QPainter& painter, QPointF from, QPointF to, const QColor& color) const;

    double m_value = 0.5;
    int m_orientation = 0;
    int m_style = 0;
    int m_blockSize = 40;
    bool m_enabled = true;
    bool m_dragging = false;
    int m_grabOffset = 0;
    QPixmap m_buffer;
    QSize m_bufferSize;
};
