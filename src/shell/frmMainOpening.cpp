// Opening media and subtitle files, automatic discovery and dropped files.
#include "shell/frmMain.h"

#include "controls/clsOpenSave.h"
#include "controls/nSlider.h"
#include "media/MediaPlayerController.h"
#include "settings/Settings.h"
#include "shell/modMain.h"
#include "shell/FilesToOpen.h"
#include "shell/SubtitleDiscovery.h"
#include "settings/SettingNames.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QPointer>

using modMain::AppSettings;
using modMain::Player;

namespace {
const QString kCrLf = QStringLiteral("\r\n");

// The dialog's answer up to its first NUL.
QString chosenFile(const clsOpenSave& dialog)
{
    if (dialog.Canceled())
        return {};
    const QString name = dialog.Filename();
    const qsizetype nul = name.indexOf(QChar(0));
    return nul >= 0 ? name.left(nul) : name;
}
} // namespace

void frmMain::OpenFile(const QString& file)
{
    openMedia(file, false);
}

// replacing: the file was chosen while another was being waited for; that open was given up
// for this one, so what state it left the engine in does not hold this one back.
void frmMain::openMedia(const QString& file, bool replacing)
{
    MediaPlayerController& player = Player();
    if (player.Opening()) {
        player.AfterOpening([window = QPointer<frmMain>(this), file] {
            if (window)
                window->openMedia(file, true);
        });
        return;
    }
    if (replacing || player.State() != PlayerStatus::Opening) {
        forgetEmbeddedTracks();
        sldPos->SetValue(-1);
        if (player.State() != PlayerStatus::NoMedia)
            subReader_->Destroy();
        if (!player.OpenFile(file)) {
            // An open given up for a close, a switch or another file is no failure to report.
            if (!player.OpenCancelled())
                ShowMessage(QMessageBox::Critical,
                            tr("Could not play media file '%1'!").arg(file));
        } else {
            ZoomWithinScreen(1.0);
            if (AppSettings().GetSetting(SettingNames::SubAutoOpen).toBool()) {
                const QString lastSubs =
                    AppSettings().GetSetting(SettingNames::PathSubs).toString();
                std::unique_ptr<SubtitleReader> fresh;
                bool loaded = false;
                SubtitleDiscovery::TryInOrder(
                    SubtitleDiscovery::RankCandidates(file, lastSubs), [&](const QString& path) {
                        if (!fresh)
                            fresh = std::make_unique<SubtitleReader>();
                        loaded = fresh->Load(path);
                        return loaded;
                    });
                if (loaded)
                    subReader_ = std::move(fresh);
            }
            // With no file found, the video's own track in the user's language steps in.
            findEmbeddedTracks(file, AppSettings().GetSetting(SettingNames::SubAutoOpen).toBool());
        }
    }
    Able();
}

void frmMain::mnuFileOpen_Click()
{
    clsOpenSave dialog(dialogs_);
    dialog.SetFilter(tr("Video files (*.avi; *.mpg; *.asf; *.mkv; *.mp4; *.m4v; *.webm; *.mov; "
                        "*.wmv; *.ogv; *.ts)|*.avi;*.mpg;*.asf;*.mkv;*.mp4;*.m4v;*.webm;*.mov;"
                        "*.wmv;*.ogv;*.ts|All files (*.*)|*.*"));
    dialog.SetInitDir(AppSettings().GetSetting(SettingNames::PathMedia).toString());
    dialog.SethWnd(this);
    dialog.ShowOpen();
    const QString file = chosenFile(dialog);
    if (file.isEmpty())
        return;
    AppSettings().SetSetting(SettingNames::PathMedia, file, SettingString, nullptr, {},
                             true);
    OpenFile(file);
}

void frmMain::mnuSubtitlesOpen_Click()
{
    clsOpenSave dialog(dialogs_);
    dialog.SetFilter(
        tr("Subtitle files (*.srt; *.sub; *.txt)|*.srt;*.sub;*.txt|All files (*.*)|*.*"));
    dialog.SetInitDir(AppSettings().GetSetting(SettingNames::PathSubs).toString());
    dialog.SethWnd(this);
    dialog.ShowOpen();
    const QString file = chosenFile(dialog);
    if (!file.isEmpty()) {
        AppSettings().SetSetting(SettingNames::PathSubs, file, SettingString, nullptr, {},
                                 true);
        LoadSubtitleFile(file);
    }
    Able();
}

// Loads into the reader in use, as the subtitle open command does.
void frmMain::LoadSubtitleFile(const QString& file)
{
    if (!subReader_->Load(file)) {
        ShowMessage(QMessageBox::Critical,
                    tr("The subtitle file could not be loaded -- it may be in an unsupported "
                       "format.") + kCrLf
                        + tr("If this is a valid subtitle file, please send it to Tavrell "
                             "Customer Service and we try to add compatibility."));
    }
    // Only a video that is actually open can lack a frame rate; a file that failed to open
    // leaves its name behind but plays nothing.
    const MediaPlayerController& player = Player();
    if (subReader_->Frames && player.GetFRUS() == 0 && !player.CurrentFile().isEmpty()
        && player.State() > PlayerStatus::Opening) {
        ShowMessage(QMessageBox::Warning,
                    tr("Frame-based subtitle files can only be played with AVI videos.") + kCrLf
                        + tr("Please obtain a different subtitle file, or convert the video "
                             "to AVI format."));
    }
}

void frmMain::mnuSubtitlesClose_Click()
{
    forgetEmbeddedTrackDiscovery();
    subReader_->Destroy();
    if (overlay_)
        overlay_->Unload();
    Able();
}

void frmMain::mnuSubtitlesAutoOpen_Click()
{
    Settings& settings = AppSettings();
    const bool on = !settings.GetSetting(SettingNames::SubAutoOpen).toBool();
    settings.SetSetting(SettingNames::SubAutoOpen, on, SettingBoolean, nullptr, {}, true);
    mnuSubtitlesAutoOpen->setChecked(settings.GetSetting(SettingNames::SubAutoOpen).toBool());
}

void frmMain::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

// A video and its subtitle file may be dropped together, in either order.
void frmMain::dropEvent(QDropEvent* event)
{
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
    }
    if (paths.isEmpty())
        return;
    event->acceptProposedAction();
    const FilesToOpen files = FilesToOpen::FromPaths(paths);
    OpenFiles(files.media, files.subtitles);
}

void frmMain::OpenFiles(const QString& media, const QString& subtitles)
{
    if (!media.isEmpty())
        OpenFile(media);
    if (!subtitles.isEmpty()) {
        LoadSubtitleFile(subtitles);
        Able();
    }
}
