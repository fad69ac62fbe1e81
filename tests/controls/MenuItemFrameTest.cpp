#include "controls/clsMenuItem.h"
#include "controls/nFrame.h"
#include "controls/nSlider.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// A form with the menus the player has, plus a caption that appears twice.
struct MenuForm : ::testing::Test
{
    MenuForm()
    {
        QMenu* file = form.menuBar()->addMenu("&File");
        fileOpen = file->addAction("&Open...");
        fileSame = file->addAction("&Options");
        QMenu* video = form.menuBar()->addMenu("&Video");
        QMenu* engine = video->addMenu("Use rendering &engine");
        mp1 = engine->addAction("GStreamer");
        mp2 = engine->addAction("mpv");
        videoSame = video->addAction("&Options");
    }
    QMainWindow form;
    QAction *fileOpen, *fileSame, *mp1, *mp2, *videoSame;
};

} // namespace

TEST_F(MenuForm, SearchIsDepthFirstAndTheFirstCaptionWins)
{
    clsMenuItem item;
    item.SetTo(mp2);
    EXPECT_EQ(item.Item(), mp2);
    EXPECT_EQ(item.Menu(), mp2->parent()); // the engine sub-menu, below its parent item
    EXPECT_EQ(item.Owner(), &form);

    item.SetTo(videoSame); // the same caption already appears under File
    EXPECT_EQ(item.Item(), fileSame);

    QAction stray("Not on the bar");
    item.SetTo(&stray);
    EXPECT_EQ(item.Item(), nullptr);
    EXPECT_FALSE(item.Checked());
    EXPECT_FALSE(item.Enabled());
    item.SetChecked(true); // pointing nowhere changes nothing and does not crash
}

TEST_F(MenuForm, CheckedTwiceStaysCheckedAndDisablingKeepsTheCheck)
{
    clsMenuItem item;
    item.SetTo(mp1);
    item.SetChecked(true);
    item.SetChecked(true);
    EXPECT_TRUE(item.Checked());
    item.SetEnabled(false);
    EXPECT_FALSE(mp1->isEnabled());
    EXPECT_TRUE(item.Checked());
}

TEST_F(MenuForm, CheckedPictureReplacesTheTickAndFollowsTheState)
{
    QPixmap arrow(16, 16);
    arrow.fill(Qt::red);
    clsMenuItem item;
    for (QAction* engine : {mp1, mp2}) {
        engine->setCheckable(true);
        item.SetTo(engine);
        item.SetBitmaps(QPixmap(), arrow);
    }
    EXPECT_TRUE(mp1->icon().isNull());
    mp1->setChecked(true);
    ASSERT_FALSE(mp1->icon().isNull());
    EXPECT_EQ(mp1->icon().pixmap(16, 16).toImage().pixelColor(8, 8), QColor(Qt::red));
    mp1->setChecked(false);
    EXPECT_TRUE(mp1->icon().isNull());
    EXPECT_TRUE(mp2->icon().isNull());
}

TEST(FrameControl, GroupBoxLiesBehindAndCoversTheFrame)
{
    nFrame frame;
    frame.resize(200, 120);
    auto* edit = new QLineEdit(&frame);
    edit->setGeometry(20, 30, 100, 24);
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    EXPECT_EQ(frame.childAt(30, 40), edit);
    frame.resize(300, 150);
    EXPECT_EQ(frame.hwndFrame()->size(), QSize(300, 150));
}

TEST(FrameControl, EnablesChildrenThroughTheirOwnEnabledProperty)
{
    nFrame frame;
    auto* edit = new QLineEdit(&frame);
    auto* slider = new nSlider(&frame);
    frame.SetDrawBorder(false);
    EXPECT_FALSE(frame.hwndFrame()->isVisibleTo(&frame));

    frame.SetEnabled(false);
    EXPECT_FALSE(edit->isEnabled());
    EXPECT_FALSE(slider->Enabled());
    EXPECT_TRUE(slider->isEnabled()); // its own state, so it still sees its mouse-up
    frame.SetEnabled(true);
    EXPECT_TRUE(edit->isEnabled());
    EXPECT_TRUE(slider->Enabled());
}

TEST(FrameControl, TurningAutoEnableOnWhileDisabledDisablesAllAtOnce)
{
    nFrame frame;
    frame.SetAutoEnableChildren(false);
    auto* first = new QLineEdit(&frame);
    auto* second = new nSlider(&frame);
    frame.SetEnabled(false);
    EXPECT_TRUE(first->isEnabled());
    EXPECT_TRUE(second->Enabled());
    frame.SetAutoEnableChildren(true);
    EXPECT_FALSE(first->isEnabled());
    EXPECT_FALSE(second->Enabled());
}
