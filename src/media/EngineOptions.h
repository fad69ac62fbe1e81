#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>

// How the engine host forms create their engines. The player uses the defaults; tests switch the
// outputs off (no sound card, no display) and name a missing element or a bad option to see an
// engine fail to load as it would on a machine without it.
struct EngineOptions {
    // Draw video into the picture box. Without a display the engines decode to a null output.
    bool videoOutput = true;
    bool audioOutput = true;
    // Where the only OpenGL renders in software, engine 2 draws into memory and engine 1 scales
    // the frames once and shows them through X11, as mpv's own player refuses such an OpenGL.
    // Off, both always draw through OpenGL.
    bool avoidSoftwareOpenGL = false;
    // The GStreamer element engine 1 plays through.
    QByteArray playbinFactory = "playbin";
    // The shared library engine 2 loads (libmpv.so.2 by default).
    QByteArray mpvLibrary = "mpv";
    // Options set on mpv before it starts, after the player's own.
    QList<QPair<QByteArray, QByteArray>> extraMpvOptions;

    // What the player uses: video off when Qt runs without a real display (offscreen,
    // minimal), and engine 2 kept off a software OpenGL.
    static EngineOptions ForCurrentDisplay();
};
