#pragma once

#include <QString>
#include <QStringView>

// Turns one raw text line of a subtitle file into the text to display: a line wrapped in the same
// non-letter character is marked as a sound ("#", shown as a music note), "|" and "[br]" break
// the line (CR LF), "<i>", "{y:i}" and the override "{\i1}" make the entry italic and italic tags
// go, and then every formatting code the viewer must never see is removed: SubRip's <b> <u> <s>
// <font ...> and their closing tags, override blocks "{\...}" and MicroDVD's control codes
// "{y:...}" "{c:...}" "{f:...}" "{s:...}" "{P:...}" "{H:...}" (either case where the format has
// both). Codes go after the marking, so a "#" inside a removed code never becomes a note.
//
// italic is the entry's flag: it decides whether italic tags are removed and is set when the line
// carries one. rawLine must not be empty. The result may be empty (a line of codes only).
QString ConvertSubtitleMarkup(QStringView rawLine, bool& italic);
// The same into a buffer the caller keeps, so that converting line after line allocates nothing.
void ConvertSubtitleMarkup(QStringView rawLine, bool& italic, QString& line);

// Whether the conversion would change the line at all, for a caller that already knows whether
// it holds a character markup begins with ("<", "[", "{", "|"): most lines are kept as they are.
bool NeedsMarkupConversion(QStringView rawLine, bool mayHoldMarkup);
