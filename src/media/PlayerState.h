#pragma once

#include "media/PlayerStatus.h"

#include <QString>

// Playback carried across an engine switch, in the order it is captured.
struct PlayerState {
    PlayerStatus Status = PlayerStatus::NoMedia;
    double Position = 0;
    QString File;
    long Volume = 0;
    bool Mute = false;
};
