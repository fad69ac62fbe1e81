// Start-up, the window-state refresh and shutdown.
#include "shell/frmMain.h"

#include "controls/MenuArrowImage.h"
#include "controls/XFlatButton.h"
#include "controls/clsMenuItem.h"
#include "controls/nSlider.h"
#include "media/MediaPlayerController.h"
#include "settings/Settings.h"
#include "shell/modMain.h"
#include "settings/SettingNames.h"

#include <QApplication>
#include <QMenu>
#include <QCloseEvent>
#include <QPointer>

using modMain::AppSettings;
using modMain::Player;

void frmMain::Form_Load(const QString& commandLineFile, const QString& subtitleFile)
{
    Settings& settings = AppSettings();
    settings.REGKEY = winreg::HKEY_LOCAL_MACHINE;
    settings.RegSubKey = modMain::kRegistrySubKey;
    settings.LoadReg(false);
    const QString documents = modMain::DocumentsFolder();
    settings.DefaultSetting(SettingNames::PathMedia, documents, SettingString);
    settings.DefaultSetting(SettingNames::PathSubs, documents, SettingString);
    settings.DefaultSetting(SettingNames::MediaPlayerType, qint64(2), SettingNumber);
    settings.DefaultSetting(SettingNames::Volume, qint64(50), SettingNumber);
    settings.DefaultSetting(SettingNames::Mute, false, SettingBoolean);
    settings.DefaultSetting(SettingNames::SubAutoOpen, true, SettingBoolean);
    settings.DefaultSetting(SettingNames::AlwaysOnTop, false, SettingBoolean);
    settings.DefaultSetting(SettingNames::HighPriority, true, SettingBoolean);

    Player().SetWindowHost(this);
    Able();
    show();
    clsMenuItem engineItem;
    for (QAction* engine : {mnuVideoMP1, mnuVideoMP2}) {
        engineItem.SetTo(engine);
        engineItem.SetBitmaps(QPixmap(), MenuImageArrow->Picture());
    }
    chooseEngine();

    sldVolume->SetValue(settings.GetSetting(SettingNames::Volume).toDouble() / 100.0);
    const bool mute = settings.GetSetting(SettingNames::Mute).toBool();
    cmdMute->SetToggleStatePressed(mute);
    cmdMute_ToggleChanged(mute);
    if (Player().Kind() == EngineKind::None) {
        ShowMessage(QMessageBox::Critical,
                    tr("No media player engine could be loaded.") + QStringLiteral("\r\n")
                        + tr("Please install GStreamer or mpv."));
    }
    mnuSubtitlesAutoOpen->setChecked(settings.GetSetting(SettingNames::SubAutoOpen).toBool());
    SetHighPriority(settings.GetSetting(SettingNames::HighPriority).toBool());
    SetAOT(AOT());
    OpenFiles(commandLineFile, subtitleFile);
}

// A stored engine other than 1 or 2 is a damaged setting: it counts as the default engine, so
// the normal choice and fall-back still run and the user gets a working player.
void frmMain::chooseEngine()
{
    Settings& settings = AppSettings();
    EngineKind wanted = EngineKindFromNumber(
        long(settings.GetSetting(SettingNames::MediaPlayerType).toLongLong()));
    if (wanted == EngineKind::None)
        wanted = EngineKind::Mpv;
    if (Player().SetMP(wanted))
        return;
    if (wanted == EngineKind::GStreamer) {
        mnuVideoMP1->setEnabled(false);
        Player().SetMP(EngineKind::Mpv);
    } else {
        mnuVideoMP2->setEnabled(false);
        Player().SetMP(EngineKind::GStreamer);
    }
    settings.SetSetting(SettingNames::MediaPlayerType, qint64(Player().MediaPlayer()),
                        SettingNumber);
}

void frmMain::Able()
{
    MediaPlayerController& player = Player();
    const PlayerStatus status = player.State();
    mnuVideoMP1->setChecked(player.Kind() == EngineKind::GStreamer);
    mnuVideoMP2->setChecked(player.Kind() == EngineKind::Mpv);
    sldPos->SetEnabled(status != PlayerStatus::NoMedia);
    if (!sldPos->Enabled())
        sldPos->SetValue(-1);
    cmdPlay->SetEnabled(status == PlayerStatus::Paused || status == PlayerStatus::Stopped);
    cmdPause->SetEnabled(status == PlayerStatus::Playing);
    cmdStop->SetEnabled(status == PlayerStatus::Playing || status == PlayerStatus::Paused);
    mnuSubtitlesClose->setEnabled(!subReader_->Filename().isEmpty());
    ableSync();
    mnuVideoPlay->setEnabled(cmdPlay->Enabled() || cmdPause->Enabled());
    mnuVideoZoom->setEnabled(status > PlayerStatus::Opening);
    mnuVideoFull->setEnabled(status > PlayerStatus::Opening);
    RefreshStatusLine();
    mnuVideoFull->setChecked(player.FullScreen());
}


void frmMain::closeEvent(QCloseEvent* event)
{
    // An open waiting for playback runs on the stack below this event: the window and the engine
    // it waits on must stay until it has returned, so the close comes back after it.
    MediaPlayerController& player = Player();
    if (player.Opening()) {
        event->ignore();
        player.AfterOpening([window = QPointer<frmMain>(this)] {
            if (window)
                window->close();
        });
        return;
    }
    Form_Unload();
    event->accept();
}

void frmMain::Form_Unload()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    tmrSecond_.stop();
    stopSync();
    // The overlay reads the player while it tears down, so it goes first.
    overlay_.reset();
    Player().ReleaseWindowHost();
    UnloadFullScreenWindow();
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window != this && window->isVisible())
            window->close();
    }
    Settings& settings = AppSettings();
    if (!settings.SaveReg(false)) {
        ShowMessage(QMessageBox::Warning,
                    tr("The settings of this session could not be saved to '%1'.")
                        .arg(settings.registry().path()));
    }
}
