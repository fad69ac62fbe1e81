#pragma once

#include "platform/StackingWatch.h"
#include "render/SubtitlePresenter.h"

#include <QFont>
#include <QHash>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QString>

#include <optional>

class MediaPlayerController;
class frmSubtitle;
class ScreenBuffer;

// What the overlay's layout depends on, read from the player and the main window each time.
struct OverlayScene {
    QRect container;            // the picture box on screen
    long pictureWidth = 0;      // the picture box's width as the player reports it
    double videoHeight = 0;     // the displayed video height: original height times zoom
    bool fullScreen = false;
    QWidget* mainWindow = nullptr;
    QWidget* fullScreenWindow = nullptr;   // while full screen is on

    bool operator==(const OverlayScene&) const = default;
};

// How the last subtitle was laid out, for whoever needs to know (the tests, the benchmark).
struct OverlayLayout {
    double firstMeasuredSize = 0;   // points
    double fittedSize = 0;          // points
    QSize textSize;                 // pixels, all lines
    QRect geometry;                 // the overlay window on screen
};

// The colour-keyed subtitle overlay: fits one font to the picture width, places the text in
// the band below the picture or at the bottom of the container, and draws it white.
class SubtitleOverlay : public SubtitlePresenter {
public:
    explicit SubtitleOverlay(MediaPlayerController* player);
    ~SubtitleOverlay() override;

    bool ShowSubtitle(const SubtitlePtr& entry, double positionSeconds) override;
    void Hide() override;
    void ReleaseSurface() override;
    void Unload() override;
    QWidget* Window() override;

    bool Show(const SubtitlePtr& entry, const OverlayScene& scene);
    const OverlayLayout& LastLayout() const { return layout_; }
    // The text as it is drawn: NULs gone, spaces trimmed, "#" made a music note.
    static QString DisplayText(const QString& text);

private:
    struct Fit {
        double firstMeasuredSize;
        double fittedSize;
        QSize textSize;
    };
    OverlayScene sceneFromPlayer() const;
    // The beginning of the entry's text that the screen can show: the rest is never looked at.
    QString capped(const QString& text, const OverlayScene& scene) const;
    bool uncovered(const OverlayScene& scene);
    Fit fitFont(const QString& text, const OverlayScene& scene, bool italic);
    void belongTo(QWidget* window);
    void paint(const QString& text, const QRect& client);

    MediaPlayerController* player_;
    frmSubtitle* form_ = nullptr;
    OverlayLayout layout_;
    // Fitting measures the same text at the same width again on every tick: kept per entry.
    QHash<QString, Fit> fits_;
    // Asking X which window is at the probe point costs round trips on every tick: the answer
    // is kept until a window on the screen changes or the question does.
    struct Uncovered {
        QPoint probe;
        quintptr form = 0;
        quintptr main = 0;
        bool answer = false;
    };
    std::optional<Uncovered> uncovered_;
    // What the overlay shows now. The tick shows the same entry 40 times a second: while
    // nothing it depends on has changed, the picture on screen is already the right one.
    struct Shown {
        const Subtitle* entry = nullptr;
        QString text;
        bool italic = false;
        OverlayScene scene;
        const ScreenBuffer* surface = nullptr;
    };
    std::optional<Shown> shown_;
    bool stillShown(const SubtitlePtr& entry, const OverlayScene& scene) const;
    StackingWatch stacking_;
};
