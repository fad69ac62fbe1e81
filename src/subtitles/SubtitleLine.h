#pragma once

#include "platform/Currency.h"

#include <QStringView>

#include <optional>

// Recognisers for the kinds of lines a subtitle file is made of. Each works on one line without
// its line end and decides from the line alone.

// Lines beyond 1024 characters are cut there (a half surrogate pair at the cut is dropped).
inline constexpr qsizetype SubtitleLineLimit = 1024;
QStringView CutToLineLimit(QStringView line);

// The characters of a line that decide what it can be, found in one pass so that each line is
// walked once however many kinds it is tested for.
struct LineShape
{
    bool arrowHead = false;   // ">": may be a SubRip timing line
    bool colon = false;       // ":" and "," both: may be a comma timing line
    bool comma = false;
    bool markup = false;      // "<", "[", "{" or "|": may carry markup
};
LineShape ShapeOf(QStringView line);

// Position of the first "-->" of a SubRip timing line, or -1.
qsizetype FindTimingArrow(QStringView line);
// The end time of a SubRip timing line out of what follows its arrow: what comes after the time
// (SubRip's "X1:100 X2:600 Y1:50 Y2:100" position) is left out. A blank ends the time unless a
// separator (":", ",", ".") stands next to it, so "0:00:02 , 500" is still one time.
QStringView SubRipEndTime(QStringView afterArrow);

struct MicroDvdLine
{
    Currency start;     // frame numbers
    Currency end;
    QStringView text;   // what follows the second closing brace
};

// "{start}{end}text": begins with "{", and a "}" directly followed by "{" has another "}" after
// it. The start is read leniently (blanks inside the digits ignored, no number reads 0), the end
// strictly (anything but a number reads 0).
std::optional<MicroDvdLine> MatchMicroDvdLine(QStringView line);

// "start,end" timing of plain text formats: a digit, ":" and a digit, later a ",", later again a
// digit, ":" and a digit. Returns the position of the first "," of the line, or -1.
qsizetype MatchCommaTimingLine(QStringView line);

// "h:m:s,ms" to milliseconds; "," and ":" both separate fields and the millisecond field counts
// as written. Seconds with a decimal point count to the millisecond ("01.50" is 1500); other
// fractional seconds are rounded to whole ones (halves to even). Fewer than three fields, a field
// that is not a number, or hours, minutes and seconds whose sum leaves 32 bits give 0; an
// unreadable millisecond field adds nothing.
Currency ParseTimingField(QStringView text);
