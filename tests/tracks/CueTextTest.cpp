// The text of single packets, for what generated media cannot easily carry: timed-text styles,
// WebVTT's own tags and entities, ASS events without fields, and lengths that lie.
#include "tracks/CueText.h"

#include <QtEndian>

#include <gtest/gtest.h>

namespace {

QByteArray movText(const QByteArray& text, const QByteArray& boxes = {})
{
    QByteArray payload(2, '\0');
    qToBigEndian<quint16>(static_cast<quint16>(text.size()), payload.data());
    return payload + text + boxes;
}

// A "styl" box of one record from start to end with the given face flags.
QByteArray styleBox(quint16 start, quint16 end, quint8 face, quint16 records = 1)
{
    QByteArray box(8 + 2 + 12, '\0');
    qToBigEndian<quint32>(static_cast<quint32>(box.size()), box.data());
    box.replace(4, 4, "styl");
    qToBigEndian<quint16>(records, box.data() + 8);
    qToBigEndian<quint16>(start, box.data() + 10);
    qToBigEndian<quint16>(end, box.data() + 12);
    box[16] = static_cast<char>(face);
    return box;
}

TEST(CueText, TimedTextWebVttAndAssPacketsAndLyingLengthsNotBelieved)
{
    const QByteArray text = "Gr\xc3\xbc\xc3\x9f dich\nzwei";   // 14 characters, 16 bytes
    const CueLines whole = CueText::Read(CueFormat::MovText, movText(text, styleBox(0, 14, 2)));
    EXPECT_EQ(whole.lines, QStringList({QStringLiteral(u"Gr\u00fc\u00df dich"), "zwei"}));
    EXPECT_TRUE(whole.italic);
    EXPECT_FALSE(CueText::Read(CueFormat::MovText, movText(text, styleBox(0, 5, 2))).italic);
    EXPECT_FALSE(CueText::Read(CueFormat::MovText, movText(text, styleBox(0, 14, 1))).italic);

    // The text claims 200 bytes, the box 40,000 records, a second box more bytes than there are.
    QByteArray payload = movText("Hi", styleBox(0, 2, 2, 40000));
    qToBigEndian<quint16>(200, payload.data());
    const CueLines lying = CueText::Read(CueFormat::MovText, payload);
    EXPECT_TRUE(lying.lines.value(0).startsWith(QStringLiteral("Hi")));
    QByteArray box = styleBox(0, 2, 2);
    qToBigEndian<quint32>(0xFFFFFFF0u, box.data());
    EXPECT_EQ(CueText::Read(CueFormat::MovText, movText("Hi", box)).lines, QStringList{"Hi"});
    EXPECT_TRUE(CueText::Read(CueFormat::MovText, QByteArray("\x01")).lines.isEmpty());

    // WebVTT keeps only its italics.
    const CueLines cue = CueText::Read(
        CueFormat::WebVtt,
        "<v Bob>Fish &amp; <c.yellow>chips</c></v>\n<i>cold</i> &lt;3 <00:00:01.500>later <b");
    EXPECT_EQ(cue.lines,
              QStringList({"Fish & chips", "<i>cold</i> <3 later <b"}));

    // ASS text follows the eighth comma or is the whole packet.
    EXPECT_EQ(CueText::Read(CueFormat::Ass, "7,0,Default,,0,0,0,,One, two\\Nthree\\nfour").lines,
              QStringList({"One, two", "three", "four"}));
    EXPECT_EQ(CueText::Read(CueFormat::Ass, "bare, text").lines, QStringList{"bare, text"});
    EXPECT_TRUE(CueText::Read(CueFormat::Unreadable, "7,0,Default,,0,0,0,,x").lines.isEmpty());
}

} // namespace
