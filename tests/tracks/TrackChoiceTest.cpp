// Which track discovery takes: the user's language, else the default, else the first text track;
// picture tracks never.
#include "tracks/TrackChoice.h"

#include <gtest/gtest.h>

namespace {

EmbeddedTrack track(int number, const char* language, bool text, bool isDefault = false)
{
    EmbeddedTrack t;
    t.number = number;
    t.language = QString::fromLatin1(language);
    t.format = text ? CueFormat::SubRip : CueFormat::Unreadable;
    t.pictures = !text;
    t.isDefault = isDefault;
    return t;
}

TEST(TrackChoice, LanguageTagsOfEveryKindNameTheirLanguage)
{
    EXPECT_EQ(TrackChoice::LanguageOf("eng"), QLocale::English);
    EXPECT_EQ(TrackChoice::LanguageOf("ger"), QLocale::German);   // ISO 639-2/B
    EXPECT_EQ(TrackChoice::LanguageOf("deu"), QLocale::German);   // ISO 639-2/T
    EXPECT_EQ(TrackChoice::LanguageOf("pt-BR"), QLocale::Portuguese);
    EXPECT_EQ(TrackChoice::LanguageOf("fr_CA"), QLocale::French);
    EXPECT_EQ(TrackChoice::LanguageOf(""), QLocale::AnyLanguage);
    EXPECT_EQ(TrackChoice::LanguageOf("qqq"), QLocale::AnyLanguage);
}

TEST(TrackChoice, UsersLanguageThenDefaultThenFirstTextTrack)
{
    const std::vector<EmbeddedTrack> tracks = {track(1, "eng", true), track(2, "ger", true, true),
                                               track(3, "fre", false), track(4, "fre", true)};
    EXPECT_EQ(TrackChoice::Preferred(tracks, QLocale::English), 1);
    EXPECT_EQ(TrackChoice::Preferred(tracks, QLocale::German), 2);
    // The French picture track is passed over for the French text track after it.
    EXPECT_EQ(TrackChoice::Preferred(tracks, QLocale::French), 4);
    EXPECT_EQ(TrackChoice::Preferred(tracks, QLocale::Japanese), 2);
    EXPECT_EQ(TrackChoice::Preferred(tracks, QLocale::C), 2);

    const std::vector<EmbeddedTrack> noDefault = {track(1, "fre", false), track(2, "", true),
                                                  track(3, "eng", true)};
    EXPECT_EQ(TrackChoice::Preferred(noDefault, QLocale::Japanese), 2);
    EXPECT_EQ(TrackChoice::Preferred({track(1, "eng", false)}, QLocale::English), 0);
}

} // namespace
