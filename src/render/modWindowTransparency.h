#pragma once

class QImage;
class QRegion;
class QWidget;

// Declares a colour of a top-level window transparent: pixels of exactly that colour (0x00BBGGRR)
// are neither drawn nor clickable. X11 has no colour key, so the window's mask stands in for
// it and is renewed from every picture the window shows (ApplyColorKey).
void MakeColorTransparent(QWidget* window, long color);

// The key colour a window was given, or -1 when it has none.
long TransparentColorOf(const QWidget* window);

// The part of a picture that is not exactly the key colour.
QRegion OpaqueRegion(const QImage& picture, long color);

// Masks the window to the opaque part of the picture it now shows, if it has a key colour.
void ApplyColorKey(QWidget* window, const QImage& picture);
