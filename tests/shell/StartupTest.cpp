#include "ShellFixture.h"

#include "controls/XFlatButton.h"
#include "controls/nSlider.h"

#include <QMenu>

using modMain::AppSettings;
using modMain::Player;

TEST_F(ShellTest, FirstRunTakesEveryDefaultAndWritesThemBack)
{
    frmMain& w = Start();
    Settings& s = AppSettings();
    EXPECT_EQ(s.GetSetting(QStringLiteral("PATHMEDIA")).toString(), modMain::DocumentsFolder());
    EXPECT_EQ(s.GetSetting(QStringLiteral("PATHSUBS")).toString(), modMain::DocumentsFolder());
    EXPECT_EQ(s.GetSetting(QStringLiteral("MPTYPE")).toInt(), 2);
    EXPECT_EQ(s.GetSetting(QStringLiteral("VOLUME")).toInt(), 50);
    EXPECT_FALSE(s.GetSetting(QStringLiteral("MUTE")).toBool());
    EXPECT_TRUE(w.mnuSubtitlesAutoOpen->isChecked());
    EXPECT_FALSE(w.mnuVideoAOT->isChecked());
    EXPECT_TRUE(s.GetSetting(QStringLiteral("HIGHPRIORITY")).toBool());
    // Engine 2 loads and receives the stored volume through the slider.
    EXPECT_EQ(Player().MediaPlayer(), 2);
    emit w.mnuVideo->aboutToShow();
    EXPECT_TRUE(w.mnuVideoMP2->isChecked());
    EXPECT_FALSE(w.mnuVideoMP1->isChecked());
    EXPECT_DOUBLE_EQ(w.sldVolume->Value(), 0.5);
    EXPECT_EQ(Player().Volume(), 50);
    EXPECT_TRUE(messages.empty());
    // Nothing open: no position thumb and no transport.
    EXPECT_FALSE(w.sldPos->Enabled());
    EXPECT_EQ(w.sldPos->Value(), -1);
    EXPECT_FALSE(w.cmdPlay->Enabled());
    EXPECT_FALSE(w.cmdPause->Enabled());
    EXPECT_FALSE(w.cmdStop->Enabled());
    EXPECT_FALSE(w.mnuSubtitlesClose->isEnabled());
    EXPECT_FALSE(w.mnuVideoZoom->isEnabled());
    EXPECT_EQ(StoredAfterShutdown(QStringLiteral("SUBAUTOOPEN")), QVariant(true));
    EXPECT_EQ(AppSettings().GetSetting(QStringLiteral("VOLUME")).toInt(), 50);
}

TEST_F(ShellTest, ZeroOrDamagedEngineSettingActsAsTheDefaultEngine)
{
    for (qint64 stored : {qint64(0), qint64(7), qint64(-1)}) {
        SCOPED_TRACE(stored);
        StoreBeforeStart(QStringLiteral("MPTYPE"), stored, SettingNumber);
        Start();
        EXPECT_EQ(Player().MediaPlayer(), 2);
        EXPECT_TRUE(messages.empty());
        window.reset();
        UseFreshStore();
    }
}

TEST_F(ShellTest, MissingEngineFallsBackAndIsRemembered)
{
    EngineOptions noMpv = EngineOptions::ForCurrentDisplay();
    noMpv.mpvLibrary = "veltrix-no-such-mpv";
    frmMain& w = Start({}, noMpv);
    EXPECT_EQ(Player().MediaPlayer(), 1);
    EXPECT_FALSE(w.mnuVideoMP2->isEnabled());
    EXPECT_TRUE(w.mnuVideoMP1->isEnabled());
    EXPECT_EQ(AppSettings().GetSetting(QStringLiteral("MPTYPE")).toInt(), 1);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(StoredAfterShutdown(QStringLiteral("MPTYPE")).toInt(), 1);
}

TEST_F(ShellTest, NoEngineAtAllIsReportedAndThePlayerStaysUp)
{
    EngineOptions none = EngineOptions::ForCurrentDisplay();
    none.mpvLibrary = "veltrix-no-such-mpv";
    none.playbinFactory = "veltrix-no-such-element";
    frmMain& w = Start({}, none);
    EXPECT_EQ(Player().MediaPlayer(), 0);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].icon, QMessageBox::Critical);
    EXPECT_EQ(messages[0].text, QStringLiteral("No media player engine could be loaded.\r\n"
                                               "Please install GStreamer or mpv."));
    w.RunTick({});
    EXPECT_EQ(StoredAfterShutdown(QStringLiteral("MPTYPE")).toInt(), 0);
}

TEST_F(ShellTest, MuteStateAndReleasedVolumeSurviveARestart)
{
    frmMain& w = Start();
    w.cmdMute->Toggle();
    EXPECT_TRUE(Player().Mute());
    w.sldVolume->SetValue(0.305);   // 30.5 rounds half to even
    EXPECT_EQ(Player().Volume(), 30);
    w.sldVolume_Release();
    EXPECT_EQ(StoredAfterShutdown(QStringLiteral("MUTE")), QVariant(true));
    EXPECT_EQ(AppSettings().GetSetting(QStringLiteral("VOLUME")).toInt(), 30);

    UseFreshStore();
    frmMain& again = Start();
    EXPECT_TRUE(again.cmdMute->ToggleStatePressed());
    EXPECT_TRUE(Player().Mute());
    EXPECT_EQ(Player().Volume(), 30);
}

TEST_F(ShellTest, HelpAboutShowsTheAboutBoxOverTheWindow)
{
    frmMain& w = Start();
    EXPECT_EQ(frmMain::Instance(), &w);
    QWidget* parent = nullptr;
    WhenModal<QDialog>([&](QDialog& box) {
        parent = box.parentWidget();
        box.close();
    });
    w.mnuHelpAbout->trigger();
    EXPECT_EQ(parent, &w);
}
