#include "render/OverlaySurface.h"
#include "render/SubtitleOverlay.h"

#include <QApplication>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

SubtitlePtr Entry(const QString& text, bool italic = false)
{
    auto entry = std::make_shared<Subtitle>();
    entry->Text = text;
    entry->Italic = italic;
    return entry;
}

class SubtitleOverlayTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        main.setGeometry(0, 0, 640, 480);
        main.show();
        QApplication::processEvents();
    }

    OverlayScene Scene(double videoHeight) const
    {
        OverlayScene scene;
        scene.container = QRect(0, 0, 640, 480);
        scene.pictureWidth = 640;
        scene.videoHeight = videoHeight;
        scene.mainWindow = const_cast<QWidget*>(&main);
        return scene;
    }

    QWidget main;
    SubtitleOverlay overlay{nullptr};
};

const QString kTwoLines = QStringLiteral(
    "This line of the caption is long enough to need a smaller font, so it has to shrink\r\n"
    "and a second line");

}   // namespace

TEST_F(SubtitleOverlayTest, FontShrinksUntilTheTextFitsAndTheOverlaySitsBelowThePictureIfItCan)
{
    ASSERT_TRUE(overlay.Show(Entry(kTwoLines), Scene(480)));
    const OverlayLayout& layout = overlay.LastLayout();
    EXPECT_NEAR(layout.firstMeasuredSize, 640 / 75.0 + 10 - 1, 1e-9);
    EXPECT_LT(layout.textSize.width(), 640 - 24);
    // That it is the largest size that fits: OverlayTextFit's test against the stepwise search.
    EXPECT_LT(layout.fittedSize, layout.firstMeasuredSize);

    // A single line that can never fit stops below two points.
    ASSERT_TRUE(overlay.Show(Entry(QString(3000, QLatin1Char('W'))), Scene(480)));
    EXPECT_LT(overlay.LastLayout().fittedSize, 2);
    EXPECT_GE(overlay.LastLayout().fittedSize, 1);

    // In the band below a letter-boxed picture when there is room.
    ASSERT_TRUE(overlay.Show(Entry(QStringLiteral("Short")), Scene(240)));
    const OverlayLayout letterBoxed = overlay.LastLayout();
    const int height = letterBoxed.textSize.height() + 16;
    EXPECT_EQ(letterBoxed.geometry, QRect(0, (240 + 480) / 2, 640, height));

    // The picture fills the container: the overlay goes to its bottom, over the picture.
    ASSERT_TRUE(overlay.Show(Entry(QStringLiteral("Short")), Scene(480)));
    EXPECT_EQ(overlay.LastLayout().geometry, QRect(0, 480 - height, 640, height));

    // No video size: the middle of the container.
    ASSERT_TRUE(overlay.Show(Entry(QStringLiteral("Short")), Scene(0)));
    EXPECT_EQ(overlay.LastLayout().geometry.top(), 240);
    EXPECT_TRUE(overlay.Window()->isVisible());
}

TEST_F(SubtitleOverlayTest, TextIsCleanedAnEmptyEntryDrawsNothingAndItalicFollowsEachEntry)
{
    // The text is cleaned, and an empty entry draws nothing.
    EXPECT_EQ(SubtitleOverlay::DisplayText(QStringLiteral("  #la") + QChar(0)
                                           + QStringLiteral("la#  ")),
              QStringLiteral("\u266Blala\u266B"));
    EXPECT_EQ(SubtitleOverlay::DisplayText(QStringLiteral("\ttab ")), QStringLiteral("\ttab"));
    EXPECT_FALSE(overlay.Show(Entry(QStringLiteral("   ") + QChar(0) + QStringLiteral(" ")),
                              Scene(480)));
    EXPECT_FALSE(overlay.Show(nullptr, Scene(480)));
    EXPECT_EQ(overlay.Window(), nullptr);

    ASSERT_TRUE(overlay.Show(Entry(QStringLiteral("Leaning"), true), Scene(480)));
    EXPECT_TRUE(overlay.Window()->font().italic());
    EXPECT_TRUE(OverlaySurface->CurrentFont().italic());
    ASSERT_TRUE(overlay.Show(Entry(QStringLiteral("Upright")), Scene(480)));
    EXPECT_FALSE(overlay.Window()->font().italic());

    // An ampersand is a character of its own, not a marker for the next one.
    ASSERT_TRUE(overlay.Show(Entry(QStringLiteral("A&B")), Scene(480)));
    const int withAmpersand = overlay.LastLayout().textSize.width();
    ASSERT_TRUE(overlay.Show(Entry(QStringLiteral("AB")), Scene(480)));
    EXPECT_GT(withAmpersand, overlay.LastLayout().textSize.width());
}

TEST_F(SubtitleOverlayTest, SurfaceStaysUntilTheOverlayMustGrowOrItIsReleased)
{
    ASSERT_TRUE(overlay.Show(Entry(QStringLiteral("one\r\ntwo")), Scene(480)));
    const ScreenBuffer* first = OverlaySurface.get();
    ASSERT_TRUE(overlay.Show(Entry(QStringLiteral("one")), Scene(480)));
    EXPECT_EQ(OverlaySurface.get(), first);   // lower overlay: the surface stays
    EXPECT_GT(OverlaySurface->Height(), overlay.LastLayout().geometry.height());
    ASSERT_TRUE(overlay.Show(Entry(QStringLiteral("one\r\ntwo\r\nthree")), Scene(480)));
    EXPECT_EQ(OverlaySurface->Height(), overlay.LastLayout().geometry.height());
    overlay.ReleaseSurface();
    EXPECT_EQ(OverlaySurface, nullptr);
    overlay.Unload();
    EXPECT_EQ(overlay.Window(), nullptr);
}

TEST_F(SubtitleOverlayTest, AnotherWindowOverTheVideoHidesTheSubtitleUnlessFullScreen)
{
    QWidget cover;
    cover.setGeometry(200, 300, 300, 150);   // over (320, 360)
    cover.show();
    cover.raise();
    QApplication::processEvents();
    EXPECT_FALSE(overlay.Show(Entry(QStringLiteral("Hidden")), Scene(480)));
    OverlayScene full = Scene(480);
    full.fullScreen = true;
    EXPECT_TRUE(overlay.Show(Entry(QStringLiteral("Shown")), full));
    cover.hide();
    QApplication::processEvents();
    EXPECT_TRUE(overlay.Show(Entry(QStringLiteral("Shown")), Scene(480)));
}
