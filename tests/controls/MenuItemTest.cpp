#include "controls/clsMenuItem.h"

#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// A form with the menus the player has.
struct MenuForm : ::testing::Test
{
    MenuForm()
    {
        form.menuBar()->addMenu("&File")->addAction("&Open...");
        QMenu* video = form.menuBar()->addMenu("&Video");
        QMenu* engine = video->addMenu("Use rendering &engine");
        mp1 = engine->addAction("GStreamer");
        mp2 = engine->addAction("mpv");
    }
    QMainWindow form;
    QAction *mp1, *mp2;
};

} // namespace

// Each engine item is found by its caption below the menu bar. As the menu draws them: the item
// in use shows the picture, the other shows nothing at all (no empty check box), and the
// pictures follow the check marks. An item that is not on the bar is left alone.
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
    ASSERT_EQ(menu, mp2->parent());
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

    QAction stray("Not on the bar");
    item.SetTo(&stray);
    EXPECT_EQ(item.Item(), nullptr);
    item.SetBitmaps(arrow, arrow);
    EXPECT_TRUE(stray.icon().isNull());
}
