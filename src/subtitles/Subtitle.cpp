#include "subtitles/Subtitle.h"

#include "subtitles/SubtitleLine.h"
#include "subtitles/SubtitleMarkup.h"

namespace {
const QString LineBreak = QStringLiteral("\r\n");
}

bool Subtitle::AddText(QStringView raw)
{
    if (raw.isEmpty())
        return false;
    if (NeedsMarkupConversion(raw, ShapeOf(raw).markup))
        append(ConvertSubtitleMarkup(raw, Italic));
    else
        append(raw);
    return true;
}

void Subtitle::append(QStringView line)
{
    if (Text.isEmpty()) {
        // Room for a second line of the same length: most captions have two, and growing the
        // text would cost a reallocation per entry.
        Text.reserve(2 * line.size() + LineBreak.size());
        Text.append(line);
        return;
    }
    Text.reserve(Text.size() + LineBreak.size() + line.size());
    Text += LineBreak;
    Text += line;
}
