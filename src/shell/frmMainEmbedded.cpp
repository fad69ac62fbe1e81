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
        if (!trackDiscoveryPending_ || preferred == 0) {
            trackDiscoveryPending_ = false;
            return;
        }
        trackLoader_->ReadTrack(video, preferred, [this, video](const TrackRead& read) {
            // A subtitle file found beside the video, or opened meanwhile, always wins; and
            // subtitles closed meanwhile stay closed.
            if (!unloaded_ && trackDiscoveryPending_ && subReader_->Filename().isEmpty())
                useEmbeddedTrack(read, video, false);
            trackDiscoveryPending_ = false;
        });
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
    const QString video = embeddedVideo_;
    trackLoader_->ReadTrack(video, trackNumber, [this, video](const TrackRead& read) {
        if (!unloaded_)
            useEmbeddedTrack(read, video, true);
    });
}

// chosen: the user picked the track, so it goes into the reader in use and a failure is told;
// otherwise discovery found it, and like a discovered file it gets a fresh reader, silently.
void frmMain::useEmbeddedTrack(const TrackRead& read, const QString& video, bool chosen)
{
    const QString name = read.track ? read.track->nameIn(video) : video;
    if (chosen) {
        if (!subReader_->LoadEntries(read.entries, name)) {
            QString message = tr("The subtitle track could not be loaded -- it holds no "
                                 "subtitles the player can show.");
            if (!read.problem.isEmpty())
                message += QStringLiteral("\r\n") + read.problem;
            ShowMessage(QMessageBox::Critical, message);
        }
    } else {
        auto fresh = std::make_unique<SubtitleReader>();
        if (fresh->LoadEntries(read.entries, name))
            subReader_ = std::move(fresh);
    }
    Able();
}
