#pragma once

#include <QWidget>

#include <functional>

// Engine 1's picture: a native child window that GStreamer's video sink draws into directly.
// Qt paints nothing here; it only reports when the sink should redraw or rebind.
class GstVideoSurface : public QWidget {
    Q_OBJECT
public:
    // exposed: the window was uncovered or resized (its size in device pixels);
    // windowChanged: the native handle changed.
    GstVideoSurface(std::function<void(const QSize&)> exposed,
                    std::function<void(quintptr)> windowChanged, QWidget* parent = nullptr);

    QPaintEngine* paintEngine() const override { return nullptr; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    void expose();

    std::function<void(const QSize&)> exposed_;
    std::function<void(quintptr)> windowChanged_;
};
