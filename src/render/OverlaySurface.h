#pragma once

#include "render/ScreenBuffer.h"

#include <memory>

// The one drawing surface of the subtitle overlay. Whoever changes the overlay's geometry (a
// resize, the full-screen switch, a new current subtitle) resets it; the next subtitle drawn
// makes a new one of the right size.
extern std::unique_ptr<ScreenBuffer> OverlaySurface;
