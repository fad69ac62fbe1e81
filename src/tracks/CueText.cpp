#include "tracks/CueText.h"

#include <QString>
#include <QtEndian>

namespace {

// Matroska and libavformat store an ASS event as "ReadOrder,Layer,Style,Name,MarginL,MarginR,
// MarginV,Effect,Text": the text is what follows the eighth comma (and may hold commas itself).
constexpr int AssFieldsBeforeText = 8;

QStringList splitLines(QStringView text)
{
    QStringList lines;
    for (QStringView line : text.split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        lines.append(line.toString());
    }
    return lines;
}

QStringView assEventText(QStringView event)
{
    qsizetype at = 0;
    for (int field = 0; field < AssFieldsBeforeText; ++field) {
        const qsizetype comma = event.indexOf(u',', at);
        // Not an event with fields: some muxers store the bare text.
        if (comma < 0)
            return event;
        at = comma + 1;
    }
    return event.sliced(at);
}

// "\N" and "\n" are ASS line breaks, "\h" a space that does not break.
QStringList assLines(QStringView event)
{
    QString text = assEventText(event).toString();
    text.replace(QLatin1String("\\N"), QLatin1String("\n"));
    text.replace(QLatin1String("\\n"), QLatin1String("\n"));
    text.replace(QLatin1String("\\h"), QString(QChar(0x00A0)));
    return splitLines(text);
}

QString decodeEntities(QString text)
{
    if (!text.contains(u'&'))
        return text;
    text.replace(QLatin1String("&lt;"), QLatin1String("<"));
    text.replace(QLatin1String("&gt;"), QLatin1String(">"));
    text.replace(QLatin1String("&nbsp;"), QString(QChar(0x00A0)));
    text.replace(QLatin1String("&lrm;"), QString(QChar(0x200E)));
    text.replace(QLatin1String("&rlm;"), QString(QChar(0x200F)));
    // Last, so that "&amp;lt;" stays "&lt;" as written.
    text.replace(QLatin1String("&amp;"), QLatin1String("&"));
    return text;
}

bool isItalicTag(QStringView tag)
{
    return tag.compare(QLatin1String("<i>"), Qt::CaseInsensitive) == 0
        || tag.compare(QLatin1String("</i>"), Qt::CaseInsensitive) == 0;
}

// WebVTT's voice, class, language, ruby and timestamp tags say nothing a viewer reads; italics
// stay for the line conversion, which knows them from SubRip.
QString webVttLine(QStringView line)
{
    QString result;
    result.reserve(line.size());
    qsizetype at = 0;
    while (at < line.size()) {
        const qsizetype open = line.indexOf(u'<', at);
        const qsizetype close = open < 0 ? -1 : line.indexOf(u'>', open);
        if (close < 0) {
            result += line.sliced(at);
            break;
        }
        result += line.sliced(at, open - at);
        const QStringView tag = line.sliced(open, close - open + 1);
        if (isItalicTag(tag))
            result += tag;
        at = close + 1;
    }
    return decodeEntities(result);
}

QStringList webVttLines(QStringView cue)
{
    QStringList lines = splitLines(cue);
    for (QString& line : lines)
        line = webVttLine(line);
    return lines;
}

// 3GPP timed text: a 16-bit text length, the UTF-8 text, then boxes. A "styl" box lists style
// records (start and end character, font, face flags, size, colour); face flag 2 is italic.
CueLines movTextCue(QByteArrayView payload)
{
    CueLines cue;
    if (payload.size() < 2)
        return cue;
    const qsizetype length =
        std::min<qsizetype>(qFromBigEndian<quint16>(payload.data()), payload.size() - 2);
    const QString text = QString::fromUtf8(payload.sliced(2, length));
    cue.lines = splitLines(text);
    const qsizetype characters = text.toUcs4().size();

    QByteArrayView boxes = payload.sliced(2 + length);
    while (boxes.size() >= 8) {
        const quint32 size = qFromBigEndian<quint32>(boxes.data());
        if (size < 8 || size > static_cast<quint32>(boxes.size()))
            break;
        const QByteArrayView box = boxes.first(size);
        if (box.sliced(4, 4) == QByteArrayView("styl") && box.size() >= 10) {
            const quint16 count = qFromBigEndian<quint16>(box.data() + 8);
            constexpr qsizetype RecordSize = 12;
            for (qsizetype i = 0; i < count && 10 + (i + 1) * RecordSize <= box.size(); ++i) {
                const char* record = box.data() + 10 + i * RecordSize;
                const quint16 start = qFromBigEndian<quint16>(record);
                const quint16 end = qFromBigEndian<quint16>(record + 2);
                const bool italic = static_cast<quint8>(record[6]) & 0x02;
                // Italic for part of the text cannot be shown: the whole cue is one style.
                if (italic && start == 0 && end >= characters && characters > 0)
                    cue.italic = true;
            }
        }
        boxes = boxes.sliced(size);
    }
    return cue;
}

} // namespace

CueLines CueText::Read(CueFormat format, QByteArrayView payload)
{
    switch (format) {
    case CueFormat::SubRip:
        return {splitLines(QString::fromUtf8(payload)), false};
    case CueFormat::Ass:
        return {assLines(QString::fromUtf8(payload)), false};
    case CueFormat::WebVtt:
        return {webVttLines(QString::fromUtf8(payload)), false};
    case CueFormat::MovText:
        return movTextCue(payload);
    case CueFormat::Unreadable:
        break;
    }
    return {};
}
