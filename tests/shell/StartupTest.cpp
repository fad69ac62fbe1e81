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
    const QString documents = modMain::DocumentsFolder();
    EXPECT_TRUE(documents.endsWith(QLatin1Char('/')) && !documents.endsWith(QStringLiteral("//")));
    EXPECT_EQ(s.GetSetting(QStringLiteral("PATHMEDIA")).toString(), documents);
    EXPECT_EQ(s.GetSetting(QStringLiteral("PATHSUBS")).toString(), documents);
    EXPECT_EQ(s.GetSetting(QStringLiteral("MPTYPE")).toInt(), 2);
    EXPECT_FALSE(s.GetSetting(QStringLiteral("MUTE")).toBool());
    EXPECT_TRUE(w.mnuSubtitlesAutoOpen->isChecked());
    EXPECT_FALSE(w.mnuVideoAOT->isChecked());
    EXPECT_TRUE(s.GetSetting(QStringLiteral("HIGHPRIORITY")).toBool());
    // Engine 2 loads and receives the stored volume through the slider.
    emit w.mnuVideo->aboutToShow();
    EXPECT_TRUE(w.mnuVideoMP2->isChecked());
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

    // Help > About opens the about box over the window.
    EXPECT_EQ(frmMain::Instance(), &w);
    QWidget* parent = nullptr;
    WhenModal<QDialog>([&](QDialog& box) {
        parent = box.parentWidget();
        box.close();
    });
    w.mnuHelpAbout->trigger();
    EXPECT_EQ(parent, &w);
    window->close();
    int count = 0;
    EXPECT_EQ(InRegistry(QStringLiteral("SUBAUTOOPEN"), &count), QVariant(true));
    EXPECT_EQ(InRegistry(QStringLiteral("VOLUME")).toInt(), 50);
    EXPECT_EQ(count, 8) << "every setting is written back";
}

// A stored engine that is zero or damaged acts as the default; a missing one falls back to the
// other, which is remembered; with neither engine the player says so and stays up.
TEST_F(ShellTest, EngineThatCannotBeUsedFallsBackAndIsRemembered)
{
    const struct Case {
        const char* name;
        qint64 stored;
        bool mpv;
        bool gstreamer;
        long engine;
    } cases[] = {{"zero stored", 0, true, true, 2},     {"seven stored", 7, true, true, 2},
                 {"negative stored", -1, true, true, 2}, {"no mpv", 2, false, true, 1},
                 {"no GStreamer", 2, true, false, 2}, {"no engine", 2, false, false, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StoreBeforeStart(QStringLiteral("MPTYPE"), c.stored, SettingNumber);
        EngineOptions options = EngineOptions::ForCurrentDisplay();
        if (!c.mpv)
            options.mpvLibrary = "veltrix-no-such-mpv";
        if (!c.gstreamer)
            options.playbinFactory = "veltrix-no-such-element";
        messages.clear();
        frmMain& w = Start({}, options);
        EXPECT_EQ(Player().MediaPlayer(), c.engine);
        EXPECT_EQ(w.mnuVideoMP2->isEnabled(), c.mpv);
        if (c.engine == 2 && !c.gstreamer) {
            // Chosen from the menu, the engine that fails is disabled and the other one kept.
            w.mnuVideoMP1->trigger();
            EXPECT_FALSE(w.mnuVideoMP1->isEnabled());
            EXPECT_EQ(Player().MediaPlayer(), 2);
            EXPECT_TRUE(w.mnuVideoMP2->isChecked());
        }
        if (c.engine != 0) {
            EXPECT_TRUE(messages.empty());
        } else {
            ASSERT_EQ(messages.size(), 1u);
            EXPECT_EQ(messages[0].icon, QMessageBox::Critical);
            EXPECT_TRUE(messages[0].text.contains(QStringLiteral("GStreamer or mpv")));
            w.RunTick({});
        }
        const QVariant stored = StoredAfterShutdown(QStringLiteral("MPTYPE"));
        if (c.stored == 2) {
            EXPECT_EQ(stored.toInt(), c.engine) << "the fall-back is remembered";
        }
    }
}

TEST_F(ShellTest, MuteStateAndReleasedVolumeSurviveARestart)
{
    frmMain& w = Start();
    w.cmdMute->Toggle();
    w.sldVolume->SetValue(0.305);   // 30.5 rounds half to even
    EXPECT_EQ(Player().Volume(), 30);
    emit w.sldVolume->Release();
    EXPECT_EQ(InRegistry(QStringLiteral("VOLUME")).toInt(), 30) << "saved at the release";
    EXPECT_EQ(StoredAfterShutdown(QStringLiteral("MUTE")), QVariant(true));

    frmMain& again = Start();
    EXPECT_TRUE(again.cmdMute->ToggleStatePressed());
    EXPECT_TRUE(Player().Mute());
    EXPECT_EQ(Player().Volume(), 30);
}
