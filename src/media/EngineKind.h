#pragma once

// The playback engines, numbered as the setting that stores the user's choice numbers them.
enum class EngineKind : long {
    None = 0,
    GStreamer = 1,
    Mpv = 2,
};

// The engine a stored or requested number names; None for any other number.
constexpr EngineKind EngineKindFromNumber(long number)
{
    switch (number) {
    case 1:
        return EngineKind::GStreamer;
    case 2:
        return EngineKind::Mpv;
    default:
        return EngineKind::None;
    }
}

constexpr long EngineNumber(EngineKind kind)
{
    return static_cast<long>(kind);
}
