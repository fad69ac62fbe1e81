#pragma once

#include "media/PlayerStatus.h"
#include "platform/Currency.h"

#include <QString>

#include <cstdint>

// What the three cells of the status line read, computed from the player and the subtitle reader
// at the moment a cell repaints. Kept apart from the window so every text can be checked alone.
struct StatusLineInput {
    PlayerStatus status = PlayerStatus::NoMedia;
    double position = 0;        // seconds
    Currency positionFrame;     // frames
    double videoFps = 0;        // 0 when the video's rate is not known
    QString subtitleFile;
    int32_t delay = 0;          // milliseconds
    double subtitleFps = 0;     // override; 0 is the video's own rate
    double subtitleRate = 1;    // speed the audio synchronisation set; 1 is none
};

namespace StatusLine {

// Cell 0: the playback state word, and the frame rate drawn at its right edge.
QString PlaybackState(const StatusLineInput& input);
QString FrameRate(const StatusLineInput& input);
// Cell 1: whether subtitles are loaded and how they are corrected.
QString SubtitleState(const StatusLineInput& input);
// Cell 2: the playback time, and the frame number drawn at its left edge.
QString Time(const StatusLineInput& input);
QString FrameNumber(const StatusLineInput& input);
// Both texts of cell 2, to tell whether it needs painting again.
QString TimeCell(const StatusLineInput& input);

// "nn:ss" below an hour, "h:nn:ss" from an hour on, for any length of film.
QString ClockText(double seconds);

} // namespace StatusLine
