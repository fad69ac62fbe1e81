// The controller's own steps over a scripted engine: what happens to a switch, an open or an
// unload that arrives while OpenFile waits, and to an engine that never plays.
#include "MediaTestHost.h"
#include "ScriptedEngine.h"
#include "TempFiles.h"
#include "WaitUntil.h"

#include <QElapsedTimer>
#include <QTimer>

#include <optional>

namespace {

class OpeningWaitTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        first = files.write("first.avi", "not read by the scripted engine");
        second = files.write("second.avi", "not read by the scripted engine");
        for (const EngineKind kind : {EngineKind::GStreamer, EngineKind::Mpv})
            player->SetEngineFactory(kind, ScriptedEngine::Factory(first, &engine, &created));
        player->SetWindowHost(&host);
        ASSERT_TRUE(player->SetMP(1));
    }

    // Runs the action from the event loop once OpenFile is waiting.
    void whileWaiting(std::function<void()> action)
    {
        QTimer::singleShot(50, [this, action] {
            EXPECT_TRUE(player->Opening());
            action();
        });
    }

    TempFiles files;
    QString first;
    QString second;
    MediaTestHost host;
    ScriptedEngine* engine = nullptr;
    int created = 0;
    std::optional<MediaPlayerController> player{std::in_place};
};

TEST_F(OpeningWaitTest, TheWaitEndsAtItsBoundOrAtOnceForAnOpenOrSwitchThatFollowsIt)
{
    // An engine that never starts playing: the wait ends at its bound.
    player->SetOpenTimeout(400);
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(player->OpenFile(first));
    EXPECT_GE(timer.elapsed(), 400);
    EXPECT_LT(timer.elapsed(), 3000);

    whileWaiting([this] { EXPECT_FALSE(player->OpenFile(second)); });
    EXPECT_FALSE(player->OpenFile(first));
    EXPECT_TRUE(player->OpenCancelled());
    EXPECT_EQ(engine->opens, 2) << "nothing is opened under the running wait";
    ASSERT_TRUE(WaitUntil([&] { return player->Status() == StatusCode(PlayerStatus::Playing); }));
    EXPECT_EQ(player->CurrentFile(), second);
    EXPECT_EQ(engine->opens, 3);

    whileWaiting([this] { EXPECT_TRUE(player->SetMP(2)); });
    // The file stalls on the new engine as well: its own wait is kept short.
    player->SetOpenTimeout(300);
    timer.restart();
    EXPECT_FALSE(player->OpenFile(first));
    EXPECT_LT(timer.elapsed(), 250) << "the wait ends at once";
    EXPECT_TRUE(player->OpenCancelled());
    EXPECT_EQ(created, 1) << "the engine waited on stays until the wait has returned";
    ASSERT_TRUE(WaitUntil([&] { return player->MediaPlayer() == 2; }));
    EXPECT_EQ(created, 2);
    EXPECT_EQ(player->CurrentFile(), first) << "the file goes over to the new engine";

    bool ran = false;
    whileWaiting([&] { player->AfterOpening([&] { ran = true; }); });
    EXPECT_FALSE(player->OpenFile(first));
    player.reset();
    EXPECT_FALSE(WaitUntil([&] { return ran; }, 300)) << "nothing deferred outlives the player";
}

TEST_F(OpeningWaitTest, EngineOrWindowGoingAwayEndsTheWaitAtOnce)
{
    whileWaiting([this] { player->ReleaseWindowHost(); });
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(player->OpenFile(first));
    EXPECT_LT(timer.elapsed(), 2000);
    EXPECT_FALSE(player->OpenCancelled()) << "nothing is left to run after it";
    EXPECT_EQ(player->Engine(), nullptr);
}

}  // namespace
