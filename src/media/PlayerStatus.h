#pragma once

// What the player is doing, as the controller reports it. The values are the numbers the
// window, the tick and the benchmarks have always read.
enum class PlayerStatus : long {
    NoMedia = 0,
    Opening = 1,  // or another transitional state
    Stopped = 2,
    Paused = 3,
    Playing = 4,
};

// The specified number of a status.
constexpr long StatusCode(PlayerStatus status)
{
    return static_cast<long>(status);
}
