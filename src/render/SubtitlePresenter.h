#pragma once

#include "subtitles/Subtitle.h"

class QWidget;

// What the playback tick needs from the subtitle overlay: draw an entry, hide, forget the
// drawing surface (its geometry or entry changed), and unload when the subtitles close.
class SubtitlePresenter {
public:
    virtual ~SubtitlePresenter() = default;
    // True when the overlay now shows the entry.
    virtual bool ShowSubtitle(const SubtitlePtr& entry, double positionSeconds) = 0;
    virtual void Hide() = 0;
    virtual void ReleaseSurface() = 0;
    virtual void Unload() = 0;
    // The overlay window while it is loaded, else null.
    virtual QWidget* Window() = 0;
};
