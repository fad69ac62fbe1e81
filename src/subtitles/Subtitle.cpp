#include "subtitles/Subtitle.h"

namespace {

const QString LineBreak = QStringLiteral("\r\n");

// A line wrapped in the same non-letter character (*sigh*, 'Hello', ~song~) is a sound or a song:
// both ends become "#", which the display shows as a music note.
void markEnclosure(QString& line)
{
    const QChar first = line.front();
    const QChar last = line.back();
    if (first != last || first == u'"' || first == u'-' || first == u'.' || first.isLetter())
        return;
    line[0] = u'#';
    line[line.size() - 1] = u'#';
}

bool hasMarkupCharacters(QStringView line)
{
    for (QChar c : line) {
        if (c == u'|' || c == u'[' || c == u'<' || c == u'{')
            return true;
    }
    return false;
}

} // namespace

bool Subtitle::AddText(QStringView raw)
{
    if (raw.isEmpty())
        return false;
    QString line = raw.toString();
    markEnclosure(line);
    // Most lines carry no markup; they skip the searches below.
    if (hasMarkupCharacters(line)) {
        line.replace(u'|', LineBreak);
        line.replace(QLatin1String("[br]"), LineBreak, Qt::CaseInsensitive);
        if (line.contains(QLatin1String("<i>"), Qt::CaseInsensitive)
            || line.contains(QLatin1String("{y:i}"), Qt::CaseInsensitive))
            Italic = true;
        // A closing tag with no italic anywhere before it is left visible: the file is odd,
        // and hiding text the reader cannot account for would be worse.
        if (Italic) {
            line.remove(QLatin1String("<i>"), Qt::CaseInsensitive);
            line.remove(QLatin1String("</i>"), Qt::CaseInsensitive);
            line.remove(QLatin1String("{y:i}"), Qt::CaseInsensitive);
        }
    }
    if (Text.isEmpty())
        Text = std::move(line);
    else
        Text += LineBreak + line;
    return true;
}
