#include "subtitles/SubtitleMarkup.h"

#include <algorithm>

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

char16_t lowerAscii(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? c + 32 : c;
}

bool matchesAsciiCaseless(QStringView text, qsizetype at, QLatin1StringView tag)
{
    if (text.size() - at < tag.size())
        return false;
    for (qsizetype i = 0; i < tag.size(); ++i) {
        if (lowerAscii(text[at + i].unicode()) != static_cast<char16_t>(tag[i].unicode()))
            return false;
    }
    return true;
}

// Where a code that began at "from" ends (just past its closing character), or -1 when the line
// (or the piece of it up to a line break) has no closing character: then it was no code.
qsizetype pastClosing(QStringView text, qsizetype from, char16_t closing)
{
    for (qsizetype i = from; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c == closing)
            return i + 1;
        if (c == u'\r' || c == u'\n')
            return -1;
    }
    return -1;
}

bool isOverrideBlock(QStringView text, qsizetype at)
{
    return text[at] == u'{' && at + 1 < text.size() && text[at + 1] == u'\\';
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

// "\i1" as one of the tags of an override block: "{\i1}", "{\b1\i1}".
bool overrideTurnsItalicOn(QStringView block)
{
    for (qsizetype i = block.indexOf(u"\\i1"); i >= 0; i = block.indexOf(u"\\i1", i + 1)) {
        const QChar after = i + 3 < block.size() ? block[i + 3] : QChar(u'}');
        if (after == u'\\' || after == u'}')
            return true;
    }
    return false;
}

bool turnsItalicOn(QStringView text)
{
    bool opening = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'<' && c != u'{')
            continue;
        if (italicTagAt(text, i, opening) > 0 && opening)
            return true;
        if (isOverrideBlock(text, i)) {
            const qsizetype end = pastClosing(text, i + 2, u'}');
            if (end > 0 && overrideTurnsItalicOn(text.sliced(i, end - i)))
                return true;
        }
    }
    return false;
}

// Removes in place the codes lengthAt finds (their length at a position, 0 for none). Each is
// found in the line as it was, never one that removing another brings together ("<<i>i>" keeps
// "<i>"): writing stays behind reading.
template <typename CodeLength>
void removeCodes(QString& line, CodeLength lengthAt)
{
    QChar* text = line.data();
    const QStringView view(line);
    qsizetype kept = 0;
    for (qsizetype i = 0; i < view.size();) {
        const qsizetype length = text[i] == u'<' || text[i] == u'{' ? lengthAt(view, i) : 0;
        if (length > 0)
            i += length;
        else
            text[kept++] = text[i++];
    }
    line.truncate(kept);
}

bool isMicroDvdControl(char16_t letter)
{
    switch (letter) {
    case u'y': case u'Y': case u'c': case u'C': case u'f': case u'F': case u's': case u'S':
    case u'P': case u'H':
        return true;
    default:
        return false;
    }
}

// Length of the formatting code at a position, 0 when none starts there.
qsizetype formattingCodeAt(QStringView text, qsizetype at)
{
    if (text[at] == u'<') {
        for (const char* tag : {"<b>", "</b>", "<u>", "</u>", "<s>", "</s>", "</font>", "<font>"}) {
            const QLatin1StringView name(tag);
            if (matchesAsciiCaseless(text, at, name))
                return name.size();
        }
        if (matchesAsciiCaseless(text, at, QLatin1StringView("<font"))
            && at + 5 < text.size() && (text[at + 5] == u' ' || text[at + 5] == u'\t')) {
            const qsizetype end = pastClosing(text, at + 5, u'>');
            return end > 0 ? end - at : 0;
        }
        return 0;
    }
    if (text[at] != u'{' || at + 2 >= text.size())
        return 0;
    const bool code = text[at + 1] == u'\\'
                   || (isMicroDvdControl(text[at + 1].unicode()) && text[at + 2] == u':');
    const qsizetype end = code ? pastClosing(text, at + 2, u'}') : -1;
    return end > 0 ? end - at : 0;
}

} // namespace

bool NeedsMarkupConversion(QStringView rawLine, bool mayHoldMarkup)
{
    return mayHoldMarkup || isEnclosed(rawLine);
}

void ConvertSubtitleMarkup(QStringView rawLine, bool& italic, QString& line)
{
    // Sized, not assigned: the buffer keeps its storage from one line to the next.
    line.resize(rawLine.size());
    std::copy(rawLine.begin(), rawLine.end(), line.data());
    if (line.isEmpty())
        return;
    if (isEnclosed(rawLine)) {
        line[0] = u'#';
        line[line.size() - 1] = u'#';
    }
    if (line.contains(u'|'))
        line.replace(u'|', LineBreak);
    if (line.contains(u'['))
        line.replace(QLatin1String("[br]"), LineBreak, Qt::CaseInsensitive);
    if (turnsItalicOn(line))
        italic = true;
    // A closing tag with no italic anywhere before it is left visible: the file is odd, and
    // hiding text the reader cannot account for would be worse.
    if (italic) {
        removeCodes(line, [](QStringView text, qsizetype at) {
            bool opening = false;
            return italicTagAt(text, at, opening);
        });
    }
    removeCodes(line, formattingCodeAt);
}

QString ConvertSubtitleMarkup(QStringView rawLine, bool& italic)
{
    QString line;
    ConvertSubtitleMarkup(rawLine, italic, line);
    return line;
}
