#pragma once

// The real-window tests judge what the screen shows by counting pixels of a colour.
#include <QGuiApplication>
#include <QImage>
#include <QRect>
#include <QScreen>

#include <functional>

inline bool IsWhite(QRgb p) { return qRed(p) > 225 && qGreen(p) > 225 && qBlue(p) > 225; }
// A caption's outline over the orange and white test picture.
inline bool IsDark(QRgb p) { return qRed(p) < 80 && qGreen(p) < 80 && qBlue(p) < 80; }
// The generated test videos' background, as an engine draws it scaled and through YUV.
inline bool IsTestVideoOrange(QRgb p)
{
    return qRed(p) > 200 && qGreen(p) > 90 && qGreen(p) < 150 && qBlue(p) < 60;
}

// The pixels of an area of the whole screen, in screen coordinates, that match.
inline int PixelsOnScreen(const QRect& area, const std::function<bool(QRgb)>& match)
{
    const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += match(screen.pixel(x, y)) ? 1 : 0;
    return count;
}
