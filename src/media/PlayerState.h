#pragma once

#include <QString>

// Playback carried across an engine switch, in the order it is captured.
struct PlayerState {
    long Status = 0;
    double Position = 0;
    QString File;
    long Volume = 0;
    bool Mute = false;
};
