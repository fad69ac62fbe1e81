// Which track discovery takes: the user's language (tagged in any of the containers' ways), else
// the default, else the first text track; picture tracks never.
#include "tracks/TrackChoice.h"

#include <gtest/gtest.h>

namespace {

EmbeddedTrack track(int number, const char* language, bool text, bool isDefault = false)
{
    EmbeddedTrack t;
    t.number = number;
    t.language = QString::fromLatin1(language);
    t.format = text ? CueFormat::SubRip : CueFormat::Unreadable;
    t.isDefault = isDefault;
    return t;
}

TEST(TrackChoice, UsersLanguageThenDefaultThenFirstTextTrack)
{
    const std::vector<EmbeddedTrack> tracks = {track(1, "en-GB", true), track(2, "ger", true, true),
                                               track(3, "fre", false), track(4, "fr_CA", true),
                                               track(5, "deu", true), track(6, "qqq", true)};
    EXPECT_EQ(TrackChoice::Preferred(tracks, QLocale::English), 1);
    EXPECT_EQ(TrackChoice::Preferred(tracks, QLocale::German), 2);
    // The French picture track is passed over for the French text track after it.
    EXPECT_EQ(TrackChoice::Preferred(tracks, QLocale::French), 4);
    EXPECT_EQ(TrackChoice::Preferred(tracks, QLocale::Japanese), 2);
    EXPECT_EQ(TrackChoice::Preferred(tracks, QLocale::C), 2);
    EXPECT_EQ(TrackChoice::LanguageOf("deu"), QLocale::German);
    EXPECT_EQ(TrackChoice::LanguageOf("qqq"), QLocale::AnyLanguage);

    const std::vector<EmbeddedTrack> noDefault = {track(1, "fre", false), track(2, "", true),
                                                  track(3, "eng", true)};
    EXPECT_EQ(TrackChoice::Preferred(noDefault, QLocale::Japanese), 2);
    EXPECT_EQ(TrackChoice::Preferred({track(1, "eng", false)}, QLocale::English), 0);
}

} // namespace
