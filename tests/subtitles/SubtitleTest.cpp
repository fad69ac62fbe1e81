#include "subtitles/Subtitle.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace {

Subtitle entryOf(std::initializer_list<const char16_t*> lines)
{
    Subtitle entry;
    for (const char16_t* line : lines)
        entry.AddText(QStringView(line));
    return entry;
}

} // namespace

TEST(SubtitleMarkup, LineBreaksItalicsTagsSoundMarksAndEmptyLines)
{
    struct Case { std::initializer_list<const char16_t*> raw; const char16_t* text; bool italic; };
    const Case cases[] = {
        {{u"Hello|World"}, u"Hello\r\nWorld", false},
        {{u"Hello[BR]World"}, u"Hello\r\nWorld", false},
        {{u"Hello[bR]World[br]!"}, u"Hello\r\nWorld\r\n!", false},
        {{u"{y:i}Go away"}, u"Go away", true},
        {{u"{Y:I}Go away"}, u"Go away", true},
        {{u"<I>Run!</I>"}, u"Run!", true},
        {{u"<i>First|second</i>"}, u"First\r\nsecond", true},
        {{u"Plain", u"<i>Slanted</i>"}, u"Plain\r\nSlanted", true},
        // Once italic, later lines lose their tags too, and a closing tag alone is removed.
        {{u"<i>One", u"two</i>"}, u"One\r\ntwo", true},
        {{u"Stray</i>"}, u"Stray</i>", false},
        // Formatting codes never show; they go after the marking, so the "#" of a colour never
        // becomes a note, and a line of codes only is still a line of the entry.
        {{u"<B>bold</b> <u>under</U> <s>gone</s> &amp;"}, u"bold under gone &amp;", false},
        {{u"<font color=\"#ffff00\">Yellow</font>"}, u"Yellow", false},
        {{u"<FONT face=\"Arial\" size=\"3\">A</Font><font>B</font>"}, u"AB", false},
        {{u"{\\an8}Top", u"{\\an8}", u"end"}, u"Top\r\n\r\nend", false},
        {{u"{\\i1}Leaning{\\i0}"}, u"Leaning", true},
        {{u"{\\b1\\i1\\c&H00FFFF&}x"}, u"x", true},
        {{u"{\\i10}x{\\fnArial}"}, u"x", false},
        {{u"{c:$0000ff}{Y:b}{f:Arial}{S:20}{P:1}{H:UTF-8}{s:4}{C:$ff}{F:x}Hi"}, u"Hi", false},
        {{u"{y:b}{y:i}Both"}, u"Both", true},
        {{u"#{c:$0000ff}#"}, u"##", false},
        // What is not a code stays: a lone "<", a comparison, braces around words, open codes.
        {{u"a < b > c"}, u"a < b > c", false},
        {{u"<"}, u"#", false},
        {{u"{not a code} {x:y} <bold> <fontx>"}, u"{not a code} {x:y} <bold> <fontx>", false},
        {{u"{\\an8 open", u"<font color=red"}, u"{\\an8 open\r\n<font color=red", false},
        // A code cannot span a line break that "|" made.
        {{u"{c:red|x}y"}, u"{c:red\r\nx}y", false},
        {{u"First", u""}, u"First", false},
    };
    for (const Case& c : cases) {
        const Subtitle entry = entryOf(c.raw);
        EXPECT_EQ(entry.Text, QString::fromUtf16(c.text)) << entry.Text.toStdString();
        EXPECT_EQ(entry.Italic, c.italic) << entry.Text.toStdString();
    }

    // Lines enclosed in the same non-letter are marked as sound.
    struct Sound { const char16_t* raw; const char16_t* text; };
    const Sound sounds[] = {
        {u"*sigh*", u"#sigh#"}, {u"'Hello'", u"#Hello#"}, {u"2002", u"#00#"},
        {u"   ", u"# #"},        {u"|", u"#"},            {u"5", u"#"},
        {u"A", u"A"},           {u"-Hi-", u"-Hi-"},      {u"...so...", u"...so..."},
        {u"Hello", u"Hello"},   {u"(laughs)", u"(laughs)"}, {u"\"Quote\"", u"\"Quote\""},
        // Letters of any script are letters: words are never turned into notes.
        {u"été", u"été"},       {u"абба", u"абба"},
        // The raw line is looked at, not the pieces a "|" makes of it.
        {u"*la|la*", u"#la\r\nla#"},
    };
    for (const Sound& c : sounds)
        EXPECT_EQ(entryOf({c.raw}).Text, QString::fromUtf16(c.text))
            << QString::fromUtf16(c.raw).toStdString();

    // An empty line is refused (and changes nothing: the table above).
    EXPECT_FALSE(Subtitle().AddText(u""));
    // The caller may set italic itself: tags of later lines are then removed.
    Subtitle notice;
    notice.Italic = true;
    notice.AddText(u"<i>Loaded</i>");
    EXPECT_EQ(notice.Text, "Loaded");
}

