// The synchronisation assistant's commands: listen to the film, line the subtitles up with the
// speech, apply the delay and speed found, and save the corrected file.
#include "shell/frmMain.h"

#include "controls/clsOpenSave.h"
#include "media/MediaPlayerController.h"
#include "shell/SyncTask.h"
#include "shell/frmSync.h"
#include "shell/modMain.h"
#include "sync/SpeechCues.h"
#include "sync/SyncedSubRip.h"

#include <QFileInfo>
#include <QMenu>

#include <cmath>

void frmMain::buildSyncMenu()
{
    mnuSubtitlesSync = mnuSubtitles->addAction(tr("&Synchronize with the audio..."));
    connect(mnuSubtitlesSync, &QAction::triggered, this, &frmMain::mnuSubtitlesSync_Click);
    mnuSubtitlesSaveSynced = mnuSubtitles->addAction(tr("Save synchronized subtitles as..."));
    connect(mnuSubtitlesSaveSynced, &QAction::triggered, this,
            &frmMain::mnuSubtitlesSaveSynced_Click);
}

void frmMain::ableSync()
{
    const bool loaded = !subReader_->Filename().isEmpty();
    mnuSubtitlesSync->setEnabled(modMain::Player().State() > PlayerStatus::Opening && loaded
                                 && !syncTask_);
    mnuSubtitlesSaveSynced->setEnabled(loaded && appliedSync_.has_value()
                                       && appliedSync_->file == subReader_->Filename()
                                       && appliedSync_->reader == subReader_.get());
}

void frmMain::mnuSubtitlesSync_Click()
{
    MediaPlayerController& player = modMain::Player();
    if (syncTask_ || player.State() <= PlayerStatus::Opening || subReader_->Filename().isEmpty())
        return;
    const int32_t frus = player.GetFRUS();
    if (subReader_->Frames && frus <= 0) {
        ShowMessage(QMessageBox::Critical,
                    tr("The subtitles count frames and this video does not tell its frame "
                       "rate: they cannot be synchronized with the audio."));
        return;
    }
    syncTarget_ = {player.CurrentFile(), subReader_->Filename(), subReader_.get()};
    syncTask_ = std::make_unique<SyncTask>(player.CurrentFile(), SpeechCuesOf(*subReader_, frus),
                                           player.FPS());
    auto* dialog = new frmSync(this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    syncDialog_ = dialog;
    connect(syncTask_.get(), &SyncTask::Progress, dialog, &frmSync::SetProgress);
    connect(syncTask_.get(), &SyncTask::Finished, this, &frmMain::syncFinished);
    connect(dialog, &frmSync::CancelRequested, this, &frmMain::stopSync);
    modMain::ShowDialog(dialog, false);
    Able();
}

void frmMain::stopSync()
{
    if (!syncTask_)
        return;
    syncTask_.reset();  // cancels and waits for the worker
    if (syncDialog_)
        syncDialog_->close();
    if (!unloaded_)
        Able();
}

void frmMain::syncFinished(const SyncResult& result)
{
    // Let the task go first, so that closing the dialog does not count as a cancel. This runs
    // inside the task's own event: it is deleted once that has returned.
    syncTask_.release()->deleteLater();
    if (syncDialog_)
        syncDialog_->close();
    MediaPlayerController& player = modMain::Player();
    if (!result.error.isEmpty()) {
        ShowMessage(QMessageBox::Critical,
                    tr("The subtitles could not be synchronized with the audio.") +
                        QStringLiteral("\r\n") + result.error);
    } else if (syncTarget_.video != player.CurrentFile()
               || syncTarget_.reader != subReader_.get()
               || syncTarget_.file != subReader_->Filename()) {
        // Another film or subtitle file came in meanwhile: the result belongs to neither.
    } else if (!result.alignment.confident) {
        ShowMessage(QMessageBox::Information,
                    tr("The subtitles do not match the speech in this film well enough to be "
                       "synchronized. Nothing was changed."));
    } else {
        applySync(result.alignment);
    }
    Able();
}

void frmMain::applySync(const Alignment& alignment)
{
    SubtitleReader& reader = *subReader_;
    reader.delay = static_cast<int32_t>(std::nearbyint(
        std::clamp(alignment.delay, -2147483648.0, 2147483647.0)));
    reader.FPS = 0;
    reader.Rate = 1.0;
    if (alignment.factor != 1.0) {
        // Where the video has a frame rate the mismatch is the frame-rate override the menu sets;
        // otherwise the reader's own speed factor.
        const double videoRate = modMain::Player().FPS();
        if (std::isfinite(videoRate) && videoRate > 0)
            reader.FPS = videoRate / alignment.factor;
        else
            reader.Rate = alignment.factor;
    }
    appliedSync_ = AppliedSync{reader.Filename(), &reader, alignment};
}

void frmMain::mnuSubtitlesSaveSynced_Click()
{
    ableSync();
    if (!mnuSubtitlesSaveSynced->isEnabled())
        return;
    clsOpenSave dialog(dialogs_);
    dialog.SetFilter(tr("SubRip subtitles (*.srt)|*.srt|All files (*.*)|*.*"));
    const QFileInfo current(subReader_->Filename());
    dialog.SetInitDir(current.absolutePath());
    dialog.SetFilename(current.completeBaseName() + QStringLiteral(".synchronized.srt"));
    dialog.SetDefaultExt(QStringLiteral("srt"));
    dialog.Setflags(clsOpenSave::OverwritePrompt);
    dialog.SethWnd(this);
    dialog.ShowSave();
    if (dialog.Canceled() || dialog.Filename().isEmpty())
        return;
    const QString error = WriteSyncedSubRip(*subReader_, modMain::Player().GetFRUS(),
                                            appliedSync_->alignment, dialog.Filename());
    if (!error.isEmpty())
        ShowMessage(QMessageBox::Critical, error);
}
