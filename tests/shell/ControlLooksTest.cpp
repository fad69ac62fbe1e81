// The status line and the transport buttons as the screen shows them: the colours and borders
// they are configured with, at rest, under the pointer and pressed by a real mouse.
#include "controls/OleColor.h"
#include "controls/XFlatButton.h"

// Last: it brings in Xlib, whose macros would spoil the Qt headers.
#include "WindowBehaviourFixture.h"

namespace {

bool Same(QRgb a, const QColor& b)
{
    return qRgb(qRed(a), qGreen(a), qBlue(a)) == b.rgb();
}

} // namespace

// Status cells: light grey flat text on black in a sunken frame; a click neither presses the cell
// nor leaves a focus rectangle. Transport buttons: no border at rest (disabled too), a raised edge
// under the pointer, a sunken one when pressed, and the plain face behind it, not a dither.
TEST_F(WindowBehaviourTest, StatusCellsAndTransportButtonsLookAsConfigured)
{
    frmMain& w = StartPlaying(500);
    w.resize(800, 500);   // the small clip's window would push the cell off its left edge
    ASSERT_TRUE(Activated(w));
    XFlatButton* cell = w.cmdStatus[1];
    const QColor shadow = ResolveOleColor(SystemColor::ButtonShadow, cell->palette());
    const QColor light = ResolveOleColor(SystemColor::ButtonHighlight, cell->palette());
    QImage shot;
    int greyText = 0, other = 0, brightest = 0;
    const auto looksRight = [&] {
        shot = probe.ScreenShotOf(cell);
        greyText = other = brightest = 0;
        for (int y = 1; y < shot.height() - 1; ++y) {
            for (int x = 1; x < shot.width() - 1; ++x) {
                const QColor c = shot.pixelColor(x, y);
                // Anything but black and the smoothing of grey on black: a shadow, a colour.
                if (c.red() != c.green() || c.green() != c.blue() || c.red() > 0xE0)
                    ++other;
                greyText += c.red() >= 0xA0;
                brightest = std::max(brightest, c.red());
            }
        }
        return greyText > 10 && brightest == 0xE0 && other == 0
            && Same(shot.pixel(0, 0), shadow)
            && Same(shot.pixel(shot.width() - 1, shot.height() - 1), light)
            && Same(shot.pixel(shot.width() - 3, shot.height() / 2), Qt::black);
    };
    EXPECT_TRUE(WaitUntil(looksRight))
        << greyText << " grey text pixels up to " << brightest << ", " << other << " others";

    const QImage before = shot;
    const QPoint centre = probe.OnScreen(xid(&w), cell->mapTo(&w, cell->rect().center()));
    probe.PointerTo(centre);
    probe.Button(true);
    EXPECT_FALSE(WaitUntil([&] { return probe.ScreenShotOf(cell) != before; }, 300)) << "pressed";
    probe.Button(false);
    EXPECT_FALSE(WaitUntil([&] {
        return cell->hasFocus() || probe.ScreenShotOf(cell) != before;
    }, 300));

    XFlatButton* pause = w.cmdPause;
    ASSERT_TRUE(pause->Enabled());
    ASSERT_FALSE(w.cmdPlay->Enabled());
    const QColor face = ResolveOleColor(SystemColor::ButtonFace, pause->palette());
    const auto edges = [&](XFlatButton* button) {
        const QImage shot = probe.ScreenShotOf(button);
        return std::pair{QColor(shot.pixel(0, 0)),
                         QColor(shot.pixel(shot.width() - 1, shot.height() - 1))};
    };
    const auto faceAround = [&](XFlatButton* button) {
        const QImage shot = probe.ScreenShotOf(button);
        for (int x = 0; x < shot.width(); ++x)
            for (int y : {0, 1, shot.height() - 2, shot.height() - 1})
                if (!Same(shot.pixel(x, y), face))
                    return false;
        return true;
    };
    EXPECT_TRUE(WaitUntil([&] { return faceAround(pause) && faceAround(w.cmdPlay); }));

    probe.PointerTo(probe.OnScreen(xid(&w), pause->mapTo(&w, pause->rect().center())));
    ASSERT_TRUE(WaitUntil([&] { return pause->CurrentLook() == XFlatButton::Look::Hovered; }));
    EXPECT_TRUE(WaitUntil([&] {
        const auto [topLeft, bottomRight] = edges(pause);
        return topLeft.lightness() > face.lightness() && bottomRight.lightness() < face.lightness();
    })) << "raised under the pointer";

    probe.Button(true);
    ASSERT_TRUE(WaitUntil([&] { return pause->CurrentLook() == XFlatButton::Look::Pressed; }));
    EXPECT_TRUE(WaitUntil([&] {
        const auto [topLeft, bottomRight] = edges(pause);
        const QImage shot = probe.ScreenShotOf(pause);
        // Beside the picture, left of centre: two neighbours of the face, not a dither.
        const int y = shot.height() / 2;
        return topLeft.lightness() < face.lightness() && bottomRight.lightness() > face.lightness()
            && Same(shot.pixel(2, y), face) && Same(shot.pixel(3, y), face);
    })) << "sunken when pressed";
    probe.Button(false);
}
