#include "ShellFixture.h"

#include "controls/nSlider.h"
#include "media/frmMP2.h"
#include "settings/SettingNames.h"
#include "shell/TerminationSignals.h"

#include <QElapsedTimer>

#include <csignal>

using modMain::AppSettings;
using modMain::Player;

namespace {

class ShutdownTest : public ShellTest {
protected:
    // Starts on a file engine 2 opens but never plays, so Form_Load stays in the open's wait
    // (15 s) until `action` comes from the event loop; measures from the action to the return.
    void StartStalled(const QString& file, std::function<void()> action)
    {
        EngineOptions options = EngineOptions::ForCurrentDisplay();
        options.extraMpvOptions = {{"end", "0"}};
        QTimer::singleShot(300, [this, action] {
            EXPECT_TRUE(Player().Opening());
            sinceAction.start();
            action();
        });
        Start(file, options);
        EXPECT_TRUE(sinceAction.isValid()) << "the open did not wait";
        EXPECT_LT(sinceAction.elapsed(), 1000) << "the wait ended at once";
    }

    bool Closed() const { return !window->isVisible() && !Player().Engine(); }

    QElapsedTimer sinceAction;
};

// One after another, as each once crashed or hung the program: a close, an engine switch and
// another file while the open waits. Each ends the wait at once; an open given up is no failure.
TEST_F(ShutdownTest, CloseEngineSwitchOrAnotherFileDuringOpeningEndTheWait)
{
    const QString clip = Video(QStringLiteral("clip.avi"));
    const QString second = Video(QStringLiteral("second.avi"));
    StartStalled(clip, [this] { window->close(); });
    ASSERT_TRUE(WaitUntil([&] { return Closed(); }, 2000));
    EXPECT_LT(sinceAction.elapsed(), 2000);
    EXPECT_EQ(StoredAfterShutdown(SettingNames::MediaPlayerType).toInt(), 2)
        << "settings are written as at any close";

    StartStalled(clip, [this] { window->mnuVideoMP1->trigger(); });
    // The file comes over in the state the old engine had reached (mpv's held it, stopped).
    ASSERT_TRUE(WaitUntil([&] { return Player().MediaPlayer() == 1 && Player().Status() > 1; }));
    EXPECT_EQ(Player().CurrentFile(), clip);
    EXPECT_TRUE(window->mnuVideoMP2->isEnabled()) << "engine 2 did not fail";
    EXPECT_EQ(StoredAfterShutdown(SettingNames::MediaPlayerType).toInt(), 1);
    StoreBeforeStart(SettingNames::MediaPlayerType, 2, SettingNumber);

    StartStalled(clip, [this, second] {
        // From here on mpv plays what it opens.
        MpvPlayerControl& mpv = Player().EngineHost2()->Control();
        mpv.Library().set_property_string(mpv.Handle(), "end", "none");
        window->OpenFile(second);
    });
    EXPECT_TRUE(messages.empty());
    // Whether mpv then plays it depends on when it takes the new end: the handing over is
    // what is checked here.
    ASSERT_TRUE(WaitUntil([&] { return Player().CurrentFile() == second; }));
    window->close();
    EXPECT_TRUE(Closed());
}

// The termination signals end the player as File > Exit does; settings that cannot be saved at
// the end are reported with their file.
TEST_F(ShutdownTest, SignalsEndThePlayerAsExitDoesAndAFailedSaveIsReported)
{
    TerminationSignals termination;
    int volume = 20;
    for (const int number : {SIGTERM, SIGINT, SIGHUP}) {
        StartPlaying(50);
        QObject::connect(&termination, &TerminationSignals::Requested, window.get(),
                         &QWidget::close);
        volume += 10;
        window->sldVolume->SetValue(volume / 100.0);
        window->sldVolume_Release();
        std::raise(number);
        ASSERT_TRUE(WaitUntil([&] { return Closed(); }, 2000)) << "signal " << number;
        EXPECT_EQ(StoredAfterShutdown(SettingNames::Volume).toInt(), volume)
            << "signal " << number;
    }

    StartPlaying(50);
    // Not a folder: nothing can be created below it, whoever runs the test.
    const QString unwritable = QStringLiteral("/dev/null/registry.db");
    AppSettings().SetRegistry(std::make_shared<Registry>(unwritable));
    QElapsedTimer closing;
    closing.start();
    window->close();
    EXPECT_LT(closing.elapsed(), 1000) << "a save that cannot succeed gives up at once";
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].text.contains(unwritable)) << messages[0].text.toStdString();
}

}  // namespace
