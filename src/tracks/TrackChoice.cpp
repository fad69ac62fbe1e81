#include "tracks/TrackChoice.h"

QLocale::Language TrackChoice::LanguageOf(const QString& tag)
{
    // Matroska and MP4 tag ISO 639-2 codes, newer Matroska files BCP 47 tags; the language is
    // what comes before the region.
    const QString code = tag.section(u'-', 0, 0).section(u'_', 0, 0).toLower();
    return code.isEmpty() ? QLocale::AnyLanguage : QLocale::codeToLanguage(code);
}

int TrackChoice::Preferred(const std::vector<EmbeddedTrack>& tracks,
                           QLocale::Language userLanguage)
{
    const EmbeddedTrack* byDefault = nullptr;
    const EmbeddedTrack* first = nullptr;
    for (const EmbeddedTrack& track : tracks) {
        if (!track.text())
            continue;
        if (userLanguage != QLocale::AnyLanguage && userLanguage != QLocale::C
            && LanguageOf(track.language) == userLanguage)
            return track.number;
        if (!byDefault && track.isDefault)
            byDefault = &track;
        if (!first)
            first = &track;
    }
    if (byDefault)
        return byDefault->number;
    return first ? first->number : 0;
}
