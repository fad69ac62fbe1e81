#pragma once

// As Xlib declares it, so this header can come before Qt's, which X11's macros would break.
typedef struct _XDisplay Display;

// The X connection the application's windows live on; null where the program does not run on
// X11 (Wayland, offscreen), so callers fall back to what Qt knows.
Display* ApplicationX11Display();

// Waits until the X server has carried out every request the application has made so far: a
// window resized through Qt has its new size for any other client that asks from then on.
void SyncWithX11Server();
