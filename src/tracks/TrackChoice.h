#pragma once

#include "tracks/EmbeddedTrack.h"

#include <QLocale>

#include <vector>

// Which text track to show when the user has not chosen one: the first in the user's language,
// else the first the medium marks as default, else the first text track.
class TrackChoice
{
public:
    // The track's number, 0 when the medium has no text track.
    static int Preferred(const std::vector<EmbeddedTrack>& tracks, QLocale::Language userLanguage);
    // The language of a tag ("eng", "en", "en-GB", "ger", "deu"); AnyLanguage when unknown.
    static QLocale::Language LanguageOf(const QString& tag);
};
