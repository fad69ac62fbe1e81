#pragma once

// Where the subtitles line up with the speech: an entry the file shows at s milliseconds is
// spoken at s / factor + delay milliseconds of the film.
struct Alignment
{
    double delay = 0;
    double factor = 1;
    // How far the best agreement stands out of the agreement at other delays, in standard
    // deviations; a film whose speech has nothing to do with the subtitles stays low.
    double prominence = 0;
    double confidence = 0;
    bool confident = false;
};
