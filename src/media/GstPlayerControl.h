#pragma once

#include "media/EngineOptions.h"
#include "media/GstVideoOutput.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <atomic>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>

typedef struct _GstElement GstElement;
typedef struct _GstBus GstBus;
typedef struct _GstMessage GstMessage;

// Engine 1: a GStreamer playbin behind the members of the classic player control the controller
// was written against: open state (0 closed, 5 opening, 6 open), play state (0 stopped, 1 paused,
// 2 playing, 3 waiting, 6 closed), volume in hundredths of a decibel (0 full, -10000 silent),
// mute, duration, current position, file name, image source size and an error flag.
//
// Everything runs on the user-interface thread. GStreamer posts bus messages from its streaming
// threads; a synchronous bus handler only posts a queued call, which drains the bus here, as
// mpv's wakeup callback does: no GLib main context is needed, so any Qt event dispatcher works.
class GstPlayerControl : public QObject {
    Q_OBJECT
public:
    // Null, with the reason in *whyNot, when GStreamer or the playbin element is missing.
    // openGL: the window has a graphics driver's OpenGL to draw the video with.
    static std::unique_ptr<GstPlayerControl> Create(const EngineOptions& options, bool openGL,
                                                    QString* whyNot = nullptr);
    ~GstPlayerControl() override;

    int OpenState() const;
    int PlayState() const;
    bool ErrorFlag() const { return error_; }
    QString FileName() const { return fileName_; }

    // Starts playing the file (the classic control starts on open). False when the engine
    // refuses the file at once; later failures raise the error flag.
    bool Open(const QString& fileName);
    void Play();
    void Pause();
    // Rewinds to the start and holds there; the file stays open.
    void Stop();

    double Duration() const;
    double CurrentPosition() const;
    void SetCurrentPosition(double seconds);

    long Volume() const { return volume_; }
    void SetVolume(long hundredthsOfDecibel);
    // The linear factor playbin applies for the volume and mute, as the sound is scaled.
    double AppliedLinearVolume() const;
    bool Mute() const { return mute_; }
    void SetMute(bool mute);

    int ImageSourceWidth() const;
    int ImageSourceHeight() const;

    // The native window the video is drawn into; 0 detaches.
    void SetWindowHandle(quintptr window);
    // Redraws the last frame, after the window was exposed or resized to windowSize.
    void Expose(const QSize& windowSize);

    // Any thread: a new message for the bus. Keeps it and asks the user-interface thread to
    // handle what was kept.
    void MessagePosted(GstMessage* message);

signals:
    void OpenStateChange(int oldState, int newState);
    void PlayStateChange(int oldState, int newState);

private:
    GstPlayerControl(GstElement* playbin, GstVideoOutput video);
    Q_INVOKABLE void drainBus();
    // To NULL, forgetting the messages of the run that ends.
    void stopPipeline();
    // Any thread: the messages kept since the last take, now the caller's to unref.
    std::deque<GstMessage*> takePosted();
    void handleMessage(GstMessage* message);
    void rewindAndHold();
    // Paused with no state change or seek under way: only then is a frame decoded again.
    bool settledPaused() const;
    void redraw();
    void refitPausedFrame();
    void applyVolume();
    void notifyStates();
    bool videoSize(int* width, int* height) const;

    GstElement* playbin_;
    GstVideoOutput video_;   // owned by playbin
    GstElement* videoSink_;  // null when video goes to a fake sink
    GstBus* bus_;
    // One queued drain at a time, however many messages the streaming threads post meanwhile.
    std::atomic<bool> drainQueued_ = false;
    std::mutex postedLock_;
    std::deque<GstMessage*> posted_;
    unsigned pipelineRuns_ = 0;
    QString fileName_;
    bool opened_ = false;
    bool error_ = false;
    bool stopped_ = false;
    std::optional<double> pendingSeek_;
    // The last position the pipeline gave, or the last seek's target: the answer while the
    // pipeline cannot say (between a seek's flush and its first buffer).
    mutable double position_ = 0;
    // Asking playbin walks every sink; the tick and the status line ask several times within a
    // few milliseconds, and a file's duration only changes when the pipeline says so.
    mutable QElapsedTimer positionAge_;
    mutable double duration_ = 0;
    // The window size a paused frame was last decoded again for.
    QSize refitSize_;
    long volume_ = 0;
    bool mute_ = false;
    int lastOpenState_ = 0;
    int lastPlayState_ = 6;
};
