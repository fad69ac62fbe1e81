#pragma once

#include "media/EngineOptions.h"
#include "media/MpvLibrary.h"

#include <QObject>
#include <QString>

#include <memory>
#include <optional>

// Engine 2: libmpv behind the object model of the newer player control: URL, openState (6 no
// media, 9 transitioning, 13 media open), playState (0 undefined, 1 stopped, 2 paused,
// 3 playing, 9 transitioning, 10 ready), stretchToFit and the sub-objects controls, settings
// and currentMedia.
//
// mpv runs its own threads; its wakeup callback only posts a queued call, and every event is
// handled, and every signal emitted, on the user-interface thread.
//
// The values the player reads many times a second (position, pause, duration, video size,
// volume, mute) are observed: mpv pushes each change, and a read costs no trip to mpv's core.
class MpvPlayerControl : public QObject {
    Q_OBJECT
public:
    class Controls {
    public:
        void play() const;
        void pause() const;
        void stop() const;
        double currentPosition() const;
        void setCurrentPosition(double seconds) const;

    private:
        friend class MpvPlayerControl;
        explicit Controls(MpvPlayerControl* control) : control_(control) {}
        MpvPlayerControl* control_;
    };
    class Settings {
    public:
        int volume() const;
        void setVolume(int volume) const;
        bool mute() const;
        void setMute(bool mute) const;

    private:
        friend class MpvPlayerControl;
        explicit Settings(MpvPlayerControl* control) : control_(control) {}
        MpvPlayerControl* control_;
    };
    class Media {
    public:
        double duration() const;
        int imageSourceWidth() const;
        int imageSourceHeight() const;

    private:
        friend class MpvPlayerControl;
        explicit Media(MpvPlayerControl* control) : control_(control) {}
        MpvPlayerControl* control_;
    };

    // Null, with mpv's reason in *whyNot, when mpv cannot be created or refuses an option.
    // With videoOutput the picture is left to a render context (MpvVideoWidget); otherwise
    // mpv decodes to its null output.
    static std::unique_ptr<MpvPlayerControl> Create(const EngineOptions& options,
                                                    QString* whyNot = nullptr);
    ~MpvPlayerControl() override;

    QString URL() const { return url_; }
    // Opens and starts the file (the control's autoStart); the empty string closes the media.
    void setURL(const QString& url);
    int openState() const;
    int playState() const;
    bool stretchToFit() const { return stretchToFit_; }
    void setStretchToFit(bool stretch);

    const Controls& controls() const { return controls_; }
    const Settings& settings() const { return settings_; }
    const Media& currentMedia() const { return media_; }

    mpv_handle* Handle() const { return mpv_; }
    const MpvLibrary& Library() const { return *lib_; }
    // The render context is going away with its GL context: mpv drops the video then, so the
    // position and play state are kept to come back to.
    void RenderContextLost();
    // A new render context exists: reopen the file where it was, playing or paused as it was.
    void RenderContextRestored();

signals:
    void OpenStateChange(int newState);
    void PlayStateChange(int newState);

private:
    MpvPlayerControl(std::shared_ptr<const MpvLibrary> library, mpv_handle* mpv);
    Q_INVOKABLE void drainEvents();
    void handleEvent(const mpv_event& event);
    void load(const QString& url, double start, bool paused);
    void rewindAndHold();
    bool flag(const char* name) const;
    double number(const char* name) const;
    void observe();
    void propertyChanged(const mpv_event_property& property, uint64_t id);
    // Reads what the file's first frame settles at once, rather than when its event comes.
    void refreshMediaValues();
    void setPause(bool paused);
    void notifyStates();

    std::shared_ptr<const MpvLibrary> lib_;
    mpv_handle* mpv_;
    Controls controls_{this};
    Settings settings_{this};
    Media media_{this};
    QString url_;
    bool stretchToFit_ = false;
    // Events name their playlist entry; those of an entry replaced since are stale.
    long long entry_ = -1;
    long long startedEntry_ = -2;
    bool fileLoaded_ = false;
    bool loaded_ = false;
    bool failed_ = false;
    bool stopped_ = false;
    std::optional<double> pendingSeek_;
    bool seekInFlight_ = false;
    std::optional<double> resumeAt_;
    bool resumePaused_ = false;
    int lastOpenState_ = 6;
    int lastPlayState_ = 0;
    // Observed values, as mpv last pushed them (or this control last set them).
    bool paused_ = false;
    bool muted_ = false;
    double volume_ = 50;
    double timePosition_ = 0;
    double duration_ = 0;
    int width_ = 0;
    int height_ = 0;
};
