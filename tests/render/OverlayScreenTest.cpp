// The overlay over a video that really plays, on a real X screen with a window manager: what
// reaches the screen, and another program's window over the video.
#include "GeneratedMedia.h"
#include "MediaTestHost.h"
#include "WaitUntil.h"

#include "media/MediaPlayerController.h"
#include "platform/WindowAtPoint.h"
#include "render/SubtitleOverlay.h"

#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QImage screenshot()
{
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(
        QImage::Format_RGB32);
}

int countIn(const QImage& shot, const QRect& area, QRgb colour)
{
    int count = 0;
    const QRect inside = area.intersected(shot.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            count += (shot.pixel(x, y) | 0xFF000000u) == (colour | 0xFF000000u);
    return count;
}

SubtitlePtr Entry(const QString& text)
{
    auto entry = std::make_shared<Subtitle>();
    entry->Text = text;
    return entry;
}

class OverlayScreenTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            GTEST_SKIP() << "needs an X display";
        host.MainWindow()->move(100, 100);
        ASSERT_TRUE(OpenOnScreen(player, host, 1, media.avi));
        ASSERT_TRUE(WaitUntil([&] { return player.Status() == 4; }, 5000));
    }

    void TearDown() override { overlay.Unload(); }

    QRect pictureOnScreen() const
    {
        QWidget* pic = player.Container();
        return {pic->mapToGlobal(QPoint(0, 0)), pic->size()};
    }

    const GeneratedMedia& media = GeneratedMedia::Get();
    MediaTestHost host;
    MediaPlayerController player;
    SubtitleOverlay overlay{&player};
};

TEST_F(OverlayScreenTest, WhiteTextOverTheVideoNoKeyColourAndAnotherProgramsWindowStopsIt)
{
    player.Pause();   // a still picture, so the text is the only change on screen
    ASSERT_TRUE(WaitUntil([&] { return player.Status() == 3; }, 3000));
    // The paused frame is on screen once screenshots longer apart than a frame agree.
    QImage before = screenshot();
    int alike = 0;
    ASSERT_TRUE(WaitUntil([&] {
        const QImage now = screenshot();
        alike = now == before ? alike + 1 : 0;
        before = now;
        return alike >= 4;
    }));

    const SubtitlePtr entry = Entry(QStringLiteral("Subtitles & more\r\n#over video#"));
    ASSERT_TRUE(overlay.ShowSubtitle(entry, 0));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(overlay.Window()));
    const QRect textArea = overlay.LastLayout().geometry;
    const int whiteBefore = countIn(before, textArea, qRgb(255, 255, 255));
    QImage after;
    EXPECT_TRUE(WaitUntil([&] {
        overlay.ShowSubtitle(entry, 0);
        after = screenshot();
        return countIn(after, textArea, qRgb(255, 255, 255)) - whiteBefore > 80;
    })) << "white glyph pixels over the video";
    after.save(QStringLiteral("overlay-screenshot.png"));

    EXPECT_TRUE(pictureOnScreen().contains(textArea)) << "the picture fills the video area";
    EXPECT_EQ(countIn(after, after.rect(), qRgb(1, 1, 0)), 0) << "the key colour never shows";
    // Between the glyphs the video shows through: orange remains inside the overlay's area.
    EXPECT_GT(countIn(after, textArea, qRgb(kTestVideoRed, kTestVideoGreen, kTestVideoBlue)),
              textArea.width() * textArea.height() / 3);

    // Another program's window over the video stops the subtitle until it goes.
    ASSERT_TRUE(overlay.ShowSubtitle(Entry(QStringLiteral("Visible")), 0));
    const QRect picture = pictureOnScreen();
    const QPoint probe(picture.center().x(), picture.top() + picture.height() * 3 / 4);
    const quintptr ownWindow = TopLevelWindowAtPoint(probe);

    QProcess cover;
    cover.start(QStringLiteral("xmessage"),
                {QStringLiteral("-geometry"),
                 QStringLiteral("%1x%2+%3+%4")
                     .arg(picture.width()).arg(picture.height())
                     .arg(picture.left()).arg(picture.top()),
                 QStringLiteral("a window of another program")});
    if (!cover.waitForStarted(3000))
        GTEST_SKIP() << "xmessage is not available";
    EXPECT_TRUE(WaitUntil([&] { return TopLevelWindowAtPoint(probe) != ownWindow; }));
    EXPECT_FALSE(overlay.ShowSubtitle(Entry(QStringLiteral("Covered")), 0));
    cover.kill();
    cover.waitForFinished(3000);
    EXPECT_TRUE(WaitUntil([&] {
        return overlay.ShowSubtitle(Entry(QStringLiteral("Uncovered")), 0);
    }, 5000));
}

}   // namespace
