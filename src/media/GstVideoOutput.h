#pragma once

#include <QSize>

typedef struct _GstElement GstElement;
class GstScalingMethod;

// Engine 1's video sink for a window. With a graphics driver that is glimagesink, which scales
// on the GPU. Where OpenGL renders in software, drawing through it costs several times the
// decoding (Mesa converts and scales each frame on the CPU, and its JIT and buffers cost
// memory), so the frames are converted and scaled once, to the window's size with black
// borders, and shown with ximagesink through shared memory, as mpv's own X11 output does.
class GstVideoOutput {
public:
    // A floating reference for playbin's "video-sink"; null when no window sink exists.
    static GstVideoOutput Create(bool openGL);

    GstElement* Element() const { return element_; }
    // True when the output converts and scales the decoded frames itself.
    bool Converts() const { return sizeFilter_ != nullptr; }
    // The element that draws into the window handle.
    GstElement* Overlay() const { return overlay_; }
    // Keeps the scaled picture at the window's size; nothing for a sink that scales itself. A
    // frame already shown keeps its old size (StaleFrameSize).
    void SetWindowSize(const QSize& size);
    // The window's size when the frame last shown was scaled to another one; empty otherwise.
    QSize StaleFrameSize() const;

private:
    GstElement* element_ = nullptr;
    GstElement* overlay_ = nullptr;
    GstElement* sizeFilter_ = nullptr;
    GstScalingMethod* scaling_ = nullptr;  // lives as long as the bin
    QSize size_;
};
