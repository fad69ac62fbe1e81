#include "controls/clsMenuItem.h"
#include "controls/nFrame.h"
#include "controls/nSlider.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
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

TEST_F(MenuForm, SearchIsDepthFirstFirstCaptionWinsAndTheCheckHolds)
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

    // Checked twice stays checked, and disabling keeps the check.
    item.SetTo(mp1);
    item.SetChecked(true);
    item.SetChecked(true);
    EXPECT_TRUE(item.Checked());
    item.SetEnabled(false);
    EXPECT_FALSE(mp1->isEnabled());
    EXPECT_TRUE(item.Checked());
}

// As the menu draws them: the item in use shows the picture, the other shows nothing at all (no
// empty check box), and the pictures follow the check marks.
TEST_F(MenuForm, CheckedPictureReplacesTheTickAndTheOtherItemShowsNothing)
{
    QPixmap arrow(16, 16);
    arrow.fill(Qt::red);
    clsMenuItem item;
    for (QAction* engine : {mp1, mp2}) {
        engine->setCheckable(true);
        item.SetTo(engine);
        item.SetBitmaps(QPixmap(), arrow);
    }
    mp1->setChecked(true);
    QMenu* menu = qobject_cast<QMenu*>(item.Menu());
    ASSERT_TRUE(menu);
    // Red pixels, and others that stand out from the menu (a check box), left of the caption.
    auto marks = [menu](QAction* action) {
        const QImage shot = menu->grab().toImage();
        // Inside the menu's frame, up to where the caption starts.
        const QRect item = menu->actionGeometry(action);
        const QRect column(item.left() + 3, item.top() + 1, item.height() - 6, item.height() - 2);
        const QColor back = shot.pixelColor(item.right() - 2, item.center().y());
        int red = 0, other = 0;
        for (int y = column.top(); y <= column.bottom(); ++y) {
            for (int x = column.left(); x <= column.right(); ++x) {
                const QColor c = shot.pixelColor(x, y);
                red += c == QColor(Qt::red);
                other += c != QColor(Qt::red) && qAbs(c.lightness() - back.lightness()) > 24;
            }
        }
        return std::pair{red, other};
    };
    menu->ensurePolished();
    menu->adjustSize();
    EXPECT_GT(marks(mp1).first, 100);
    EXPECT_EQ(marks(mp2), std::pair(0, 0));
    mp1->setChecked(false);
    mp2->setChecked(true);
    EXPECT_EQ(marks(mp1), std::pair(0, 0));
    EXPECT_GT(marks(mp2).first, 100);
}

// The group box lies behind the children and covers the frame; children are enabled together
// through their own Enabled property, and turning that on while disabled disables them at once.
TEST(FrameControl, GroupBoxLiesBehindAndChildrenAreEnabledTogether)
{
    nFrame frame;
    frame.resize(200, 120);
    auto* edit = new QLineEdit(&frame);
    edit->setGeometry(20, 30, 100, 24);
    auto* slider = new nSlider(&frame);
    slider->setGeometry(20, 70, 100, 20);
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    EXPECT_EQ(frame.childAt(30, 40), edit);
    frame.resize(300, 150);
    EXPECT_EQ(frame.hwndFrame()->size(), QSize(300, 150));
    frame.SetDrawBorder(false);
    EXPECT_FALSE(frame.hwndFrame()->isVisibleTo(&frame));

    frame.SetEnabled(false);
    EXPECT_FALSE(edit->isEnabled());
    EXPECT_FALSE(slider->Enabled());
    EXPECT_TRUE(slider->isEnabled()); // its own state, so it still sees its mouse-up
    frame.SetEnabled(true);
    EXPECT_TRUE(edit->isEnabled());
    EXPECT_TRUE(slider->Enabled());

    frame.SetAutoEnableChildren(false);
    frame.SetEnabled(false);
    EXPECT_TRUE(edit->isEnabled());
    EXPECT_TRUE(slider->Enabled());
    frame.SetAutoEnableChildren(true);
    EXPECT_FALSE(edit->isEnabled());
    EXPECT_FALSE(slider->Enabled());
}
