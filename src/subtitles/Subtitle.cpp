#include "subtitles/Subtitle.h"

#include "subtitles/SubtitleLine.h"

namespace {

const QString LineBreak = QStringLiteral("\r\n");

// A line wrapped in the same non-letter character (*sigh*, 'Hello', ~song~) is a sound or a song:
// both ends become "#", which the display shows as a music note.
bool isEnclosed(QStringView line)
{
    const QChar first = line.front();
    return first == line.back() && first != u'"' && first != u'-' && first != u'.'
        && !first.isLetter();
}

void markEnclosure(QString& line)
{
    line[0] = u'#';
    line[line.size() - 1] = u'#';
}

bool matchesAsciiCaseless(QStringView text, qsizetype at, QLatin1StringView tag)
{
    if (text.size() - at < tag.size())
        return false;
    for (qsizetype i = 0; i < tag.size(); ++i) {
        const char16_t c = text[at + i].unicode();
        const char16_t lower = c >= u'A' && c <= u'Z' ? c + 32 : c;
        if (lower != static_cast<char16_t>(tag[i].unicode()))
            return false;
    }
    return true;
}

// Length of the italic tag ("<i>", "</i>" or "{y:i}", in any case) at a position, 0 for none.
qsizetype italicTagAt(QStringView text, qsizetype at, bool& opening)
{
    const QChar c = text[at];
    opening = true;
    if (c == u'<') {
        if (matchesAsciiCaseless(text, at, QLatin1StringView("<i>")))
            return 3;
        opening = false;
        return matchesAsciiCaseless(text, at, QLatin1StringView("</i>")) ? 4 : 0;
    }
    if (c == u'{')
        return matchesAsciiCaseless(text, at, QLatin1StringView("{y:i}")) ? 5 : 0;
    return 0;
}

bool hasOpeningItalicTag(QStringView text)
{
    bool opening = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if ((c == u'<' || c == u'{') && italicTagAt(text, i, opening) > 0 && opening)
            return true;
    }
    return false;
}

QString withoutItalicTags(QStringView text)
{
    QString result;
    result.reserve(text.size());
    bool opening = false;
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < text.size();) {
        const QChar c = text[i];
        const qsizetype length = c == u'<' || c == u'{' ? italicTagAt(text, i, opening) : 0;
        if (length > 0) {
            result += text.sliced(runStart, i - runStart);
            i += length;
            runStart = i;
        } else {
            ++i;
        }
    }
    result += text.sliced(runStart);
    return result;
}

} // namespace

bool Subtitle::AddText(QStringView raw)
{
    return AddScannedText(raw, ShapeOf(raw).markup);
}

bool Subtitle::AddScannedText(QStringView raw, bool markup)
{
    if (raw.isEmpty())
        return false;
    const bool enclosed = isEnclosed(raw);
    // Most lines carry neither: they are appended as they are.
    if (!enclosed && !markup) {
        append(raw);
        return true;
    }
    QString line = raw.toString();
    if (enclosed)
        markEnclosure(line);
    if (markup) {
        if (line.contains(u'|'))
            line.replace(u'|', LineBreak);
        if (line.contains(u'['))
            line.replace(QLatin1String("[br]"), LineBreak, Qt::CaseInsensitive);
        if (hasOpeningItalicTag(line))
            Italic = true;
        // A closing tag with no italic anywhere before it is left visible: the file is odd,
        // and hiding text the reader cannot account for would be worse.
        if (Italic)
            line = withoutItalicTags(line);
    }
    append(line);
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
