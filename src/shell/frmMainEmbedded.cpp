// The subtitle tracks inside the open video: the submenu that lists them, loading a chosen one,
// and the track discovery falls back to when no subtitle file beside the video loads.
#include "shell/frmMain.h"

#include "media/MediaPlayerController.h"
#include "shell/modMain.h"
#include "tracks/TrackChoice.h"
#include "tracks/TrackLoader.h"

#include <QLocale>
#include <QMenu>

using modMain::Player;

namespace {

// "&2  English, Director's comments (SubRip)": what the menu shows of a track.
QString trackCaption(const EmbeddedTrack& track)
{
    QStringList words;
    if (!track.language.isEmpty()) {
        const QLocale::Language language = TrackChoice::LanguageOf(track.language);
        words << (language == QLocale::AnyLanguage ? track.language
                                                   : QLocale::languageToString(language));
    }
    if (!track.title.isEmpty())
        words << track.title;
    QString caption = QStringLiteral("&%1  ").arg(track.number);
    if (!words.isEmpty())
        caption += words.join(QStringLiteral(", ")) + u' ';
    caption += u'(' + track.kind + u')';
    if (track.pictures)
        caption += frmMain::tr(" (pictures: not supported)");
    else if (!track.text())
        caption += frmMain::tr(" (not supported)");
    return caption;
}

} // namespace

void frmMain::buildEmbeddedMenu()
{
    trackLoader_ = std::make_unique<TrackLoader>();
    mnuSubtitlesEmbedded = mnuSubtitles->addMenu(tr("&Embedded subtitles"));
    // Refilled when it opens, so the check mark follows whatever loaded since.
    connect(mnuSubtitlesEmbedded, &QMenu::aboutToShow, this, &frmMain::fillEmbeddedMenu);
    fillEmbeddedMenu();
}

void frmMain::fillEmbeddedMenu()
{
    mnuSubtitlesEmbedded->clear();
    if (embeddedTracks_.empty()) {
        const bool listing = !embeddedVideo_.isEmpty() && trackLoader_->Busy();
        mnuSubtitlesEmbedded->addAction(listing ? tr("(looking for tracks...)") : tr("(none)"))
            ->setEnabled(false);
        return;
    }
    for (const EmbeddedTrack& track : embeddedTracks_) {
        QAction* action = mnuSubtitlesEmbedded->addAction(trackCaption(track));
        action->setEnabled(track.text());
        action->setCheckable(true);
        action->setChecked(subReader_->Filename() == track.nameIn(embeddedVideo_));
        const int number = track.number;
        connect(action, &QAction::triggered, this,
                [this, number] { mnuSubtitlesEmbedded_Click(number); });
    }
}

bool frmMain::EmbeddedTracksBusy() const
{
    return trackLoader_->Busy();
}

void frmMain::forgetEmbeddedTracks()
{
    trackLoader_->Cancel();
    trackDiscoveryPending_ = false;
    embeddedTracks_.clear();
    embeddedVideo_.clear();
    fillEmbeddedMenu();
}

void frmMain::findEmbeddedTracks(const QString& video, bool loadPreferred)
{
    embeddedVideo_ = video;
    trackDiscoveryPending_ = loadPreferred;
    trackLoader_->List(video, [this, video](const auto& tracks) {
        if (unloaded_ || !tracks)
            return;
        embeddedTracks_ = *tracks;
        fillEmbeddedMenu();
        const int preferred = TrackChoice::Preferred(embeddedTracks_, QLocale().language());
        if (trackDiscoveryPending_ && preferred > 0)
            readEmbeddedTrack(video, preferred, false);
        else
            trackDiscoveryPending_ = false;
    });
}

void frmMain::forgetEmbeddedTrackDiscovery()
{
    trackDiscoveryPending_ = false;
}

void frmMain::mnuSubtitlesEmbedded_Click(int trackNumber)
{
    if (embeddedVideo_.isEmpty())
        return;
    // The user's choice replaces whatever track is still being read.
    trackLoader_->Cancel();
    trackDiscoveryPending_ = false;
    readEmbeddedTrack(embeddedVideo_, trackNumber, true);
}

void frmMain::readEmbeddedTrack(const QString& video, int trackNumber, bool chosen)
{
    // Shared by the parts of one reading: whether an earlier part is loaded.
    auto started = std::make_shared<bool>(false);
    auto take = [this, video, chosen, started](const TrackRead& read, bool last) {
        if (!unloaded_)
            takeEmbeddedTrack(read, video, chosen, last, *started);
    };
    trackLoader_->ReadTrack(
        video, trackNumber, [take](const TrackRead& read) { take(read, true); },
        [take](const TrackRead& read) { take(read, false); });
}

// chosen: the user picked the track, so it goes into the reader in use and a failure is told;
// otherwise discovery found it, and like a discovered file it gets a fresh reader, silently.
// A long reading arrives in parts: the first loads, later ones only add to it.
void frmMain::takeEmbeddedTrack(const TrackRead& read, const QString& video, bool chosen,
                                bool last, bool& started)
{
    const QString name = read.track ? read.track->nameIn(video) : video;
    if (started) {
        // Not over a file the user opened, nor subtitles closed, meanwhile.
        if (subReader_->Filename() == name)
            subReader_->ReplaceEntries(read.entries);
        return;
    }
    if (chosen) {
        started = subReader_->LoadEntries(read.entries, name);
        if (!started && last) {
            QString message = tr("The subtitle track could not be loaded -- it holds no "
                                 "subtitles the player can show.");
            if (!read.problem.isEmpty())
                message += QStringLiteral("\r\n") + read.problem;
            ShowMessage(QMessageBox::Critical, message);
        }
    } else if (trackDiscoveryPending_ && subReader_->Filename().isEmpty()) {
        // A subtitle file found beside the video, or opened meanwhile, always wins; and
        // subtitles closed meanwhile stay closed.
        auto fresh = std::make_unique<SubtitleReader>();
        started = fresh->LoadEntries(read.entries, name);
        if (started)
            subReader_ = std::move(fresh);
    }
    if (last && !chosen)
        trackDiscoveryPending_ = false;
    if (started || last)
        Able();
}
