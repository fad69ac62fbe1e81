#pragma once

#include <QColor>
#include <QPalette>

#include <cstdint>

// Colours travel as 32-bit values in the order 0x00BBGGRR. A value with the top bit set names a
// system colour by its index in the low byte; it is resolved against the palette in force only
// when something is drawn, so a theme change reaches every control without re-setting colours.
using OleColor = uint32_t;

namespace SystemColor {
constexpr OleColor Flag = 0x80000000u;
constexpr OleColor ScrollBar = Flag | 0, Desktop = Flag | 1, ActiveCaption = Flag | 2;
constexpr OleColor InactiveCaption = Flag | 3, Menu = Flag | 4, Window = Flag | 5;
constexpr OleColor WindowFrame = Flag | 6, MenuText = Flag | 7, WindowText = Flag | 8;
constexpr OleColor CaptionText = Flag | 9, ActiveBorder = Flag | 10, InactiveBorder = Flag | 11;
constexpr OleColor AppWorkspace = Flag | 12, Highlight = Flag | 13, HighlightText = Flag | 14;
constexpr OleColor ButtonFace = Flag | 15, ButtonShadow = Flag | 16, GrayText = Flag | 17;
constexpr OleColor ButtonText = Flag | 18, InactiveCaptionText = Flag | 19;
constexpr OleColor ButtonHighlight = Flag | 20, DarkShadow = Flag | 21, Light = Flag | 22;
constexpr OleColor InfoText = Flag | 23, InfoBackground = Flag | 24, HotLight = Flag | 26;
} // namespace SystemColor

// The one place where system colour indexes meet palette roles. Unknown indexes fall back to the
// window text colour rather than to black, so a bad stored value still draws readably.
QColor ResolveOleColor(OleColor value, const QPalette& palette);

// A plain RGB colour in the 0x00BBGGRR order (alpha dropped).
OleColor ToOleColor(const QColor& color);
