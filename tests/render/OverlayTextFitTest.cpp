// The overlay's work per tick is bounded by the screen, not by the entry.
#include "render/OverlayTextFit.h"
#include "render/SubtitleOverlay.h"

#include <QElapsedTimer>
#include <QFontMetrics>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

// The fit as the overlay did it before bisection: one point at a time from the start.
double fittedOnePointAtATime(const QStringList& lines, QFont font, int width, const QWidget& on)
{
    double size = width / 75.0 + 10;
    int widest = 0;
    do {
        size -= 1;
        font.setPointSizeF(size);
        const QFontMetrics metrics(font, &on);
        widest = 0;
        for (const QString& line : lines)
            widest = std::max(widest, metrics.horizontalAdvance(line));
    } while (widest >= width - OverlayTextFit::Margin && size >= OverlayTextFit::MinimumSize);
    return size;
}

} // namespace

TEST(OverlayTextFit, BisectionFindsTheStepwiseSizeAndTextIsCutToTheScreen)
{
    QWidget device;
    const QFont font(QStringLiteral("Arial"));
    for (int width : {320, 640, 1280, 1920}) {
        for (int length : {5, 30, 60, 90, 140, 400}) {
            const QStringList lines = {QString(length, u'e'), QStringLiteral("short")};
            const OverlayTextFit::Result fit =
                OverlayTextFit::Fit(lines, font, width, width, &device);
            EXPECT_DOUBLE_EQ(fit.fittedSize, fittedOnePointAtATime(lines, font, width, device))
                << width << " px, " << length << " characters";
        }
    }

    // Text is cut to what the screen can show.
    const QString screenful = QStringLiteral("one\r\ntwo\r\n\r\nthree\r\n");
    EXPECT_EQ(OverlayTextFit::CapToScreen(screenful, font, QSize(640, 480), &device), screenful);
    EXPECT_EQ(OverlayTextFit::CapToScreen(QStringLiteral("a\rb\nc"), font, QSize(640, 480),
                                          &device),
              QStringLiteral("a\r\nb\r\nc"));

    // Very narrow lines: as many lines as fit the height at two points, not all 50,000.
    QString narrow;
    for (int i = 0; i < 50000; ++i)
        narrow += QStringLiteral("a\r\n");
    const int shown = int(OverlayTextFit::LinesOf(
        OverlayTextFit::CapToScreen(narrow, font, QSize(1600, 1200), &device)).size());
    QFont twoPoints = font;
    twoPoints.setPointSizeF(OverlayTextFit::MinimumSize);
    EXPECT_EQ(shown, 1200 / QFontMetrics(twoPoints, &device).height() + 1);
}

TEST(OverlayTextFit, AnyEntryIsCutToTheScreenAndShownWithinATick)
{
    QWidget main;
    main.setGeometry(0, 0, 1280, 720);
    main.show();
    SubtitleOverlay overlay(nullptr);
    OverlayScene scene;
    scene.container = QRect(0, 0, 1280, 720);
    scene.pictureWidth = 1280;
    scene.videoHeight = 720;
    scene.fullScreen = true;
    scene.mainWindow = &main;
    // 50,000 lines of 1,000 characters: every line re-measured at every step took a minute.
    QString text;
    text.reserve(50000 * 1002);
    for (int i = 0; i < 50000; ++i)
        text += QString(1000, QChar(u'a' + i % 26)) + QStringLiteral("\r\n");
    const QString capped =
        OverlayTextFit::CapToScreen(text, QFont(QStringLiteral("Arial")), QSize(1600, 1200), &main);
    const QStringList lines = OverlayTextFit::LinesOf(capped);
    EXPECT_LE(capped.size(), OverlayTextFit::CharacterBudget + 2 * lines.size());
    EXPECT_GT(lines.size(), 1);
    EXPECT_TRUE(text.startsWith(lines[0]));

    auto entry = std::make_shared<Subtitle>();
    entry->Text = text;
    for (int tick = 0; tick < 3; ++tick) {
        QElapsedTimer timer;
        timer.start();
        ASSERT_TRUE(overlay.Show(entry, scene));
        EXPECT_LT(timer.elapsed(), 100) << "tick " << tick;
    }
}
