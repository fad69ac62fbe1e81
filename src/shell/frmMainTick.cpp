// The 25 ms playback tick and the transport controls.
#include "shell/frmMain.h"

#include "controls/XFlatButton.h"
#include "controls/nSlider.h"
#include "media/MediaPlayerController.h"
#include "platform/Rounding.h"
#include "settings/Settings.h"
#include "shell/StatusLine.h"
#include "shell/modMain.h"
#include "settings/SettingNames.h"

#include <cmath>

using modMain::Player;

namespace {
constexpr double kNoticeSeconds = 5.0;
} // namespace

void frmMain::tmrSecond_Timer()
{
    const MediaPlayerController& player = Player();
    TickInput input;
    input.position = player.Position();
    input.positionFrame = player.PositionFrame();
    input.duration = player.Duration();
    input.frus = player.GetFRUS();
    input.status = player.State();
    input.currentFile = player.CurrentFile();
    RunTick(input);
}

void frmMain::RunTick(const TickInput& input)
{
    const Currency key = subReader_->Frames
        ? input.positionFrame
        : Currency::fromDouble(input.position * 1000.0).value_or(Currency());
    if (input.duration > 0 && std::isfinite(input.duration))
        sldPos->SetValue(input.position / input.duration);

    SubtitlePtr entry;
    if (input.position < kNoticeSeconds && !subReader_->Filename().isEmpty()) {
        // The notice counts as a new entry every tick (it is made the shown entry at once, so
        // the change test never hides it); one object per file spares 40 allocations a second.
        const QString text = tr("Loaded subtitle file:") + QStringLiteral("\r\n")
                           + subReader_->Filename();
        if (!notice_ || notice_->Text != text) {
            notice_ = std::make_shared<Subtitle>();
            notice_->Text = text;
            notice_->Italic = true;
        }
        entry = notice_;
        shownSub_ = entry;
    } else {
        entry = subReader_->GetSubtitle(key, input.frus);
    }
    // Identity, not text: a new entry that reads the same is laid out afresh.
    if (entry != shownSub_ && overlay_) {
        overlay_->Hide();
        overlay_->ReleaseSurface();
    }
    shownSub_ = entry;
    if (overlay_) {
        if (!entry || !overlay_->ShowSubtitle(entry, input.position))
            overlay_->Hide();
    }
    // Painting the cell lays its text out and flushes to the X server; on a film without
    // frame numbers its text changes once a second, not on each of the 40 ticks.
    StatusLineInput clock;
    clock.status = input.status;
    clock.position = input.position;
    clock.positionFrame = input.positionFrame;
    if (StatusLine::TimeCell(clock) != paintedClock_)
        cmdStatus[2]->Refresh();

    QString caption = modMain::kAppTitle;
    if (input.status > PlayerStatus::Opening)
        caption += QStringLiteral(" - ") + input.currentFile;
    if (windowTitle() != caption)
        setWindowTitle(caption);
}

void frmMain::connectTransport()
{
    connect(cmdPlay, &XFlatButton::Click, this, [] { Player().Play(); });
    connect(cmdPause, &XFlatButton::Click, this, [] { Player().Pause(); });
    connect(cmdStop, &XFlatButton::Click, this, [] { Player().Stop_(); });
    connect(cmdMute, &XFlatButton::ToggleChanged, this, &frmMain::cmdMute_ToggleChanged);
    connect(sldPos, &nSlider::Slide, this, &frmMain::sldPos_Slide);
    connect(sldVolume, &nSlider::Change, this, &frmMain::sldVolume_Change);
    connect(sldVolume, &nSlider::Release, this, &frmMain::sldVolume_Release);
}

// The mute state is also remembered, so the next start is muted exactly when this one ended so.
void frmMain::cmdMute_ToggleChanged(bool pressed)
{
    Player().SetMute(pressed);
    cmdMute->SetPicture(pressed ? imgSoundMute : imgSound);
    modMain::AppSettings().SetSetting(SettingNames::Mute, pressed, SettingBoolean);
}

void frmMain::sldPos_Slide()
{
    Player().SetPosition(sldPos->Value() * Player().Duration());
}

void frmMain::sldVolume_Change()
{
    if (const auto volume = RoundToInt32(sldVolume->Value() * 100.0))
        Player().SetVolume(long(*volume));
}

void frmMain::sldVolume_Release()
{
    modMain::AppSettings().SetSetting(SettingNames::Volume, qint64(Player().Volume()),
                                      SettingNumber, nullptr, {}, true);
}
