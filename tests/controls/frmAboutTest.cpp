#include "controls/frmAbout.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

TEST(AboutBox, VersionLineComesFromTheProjectVersion)
{
    EXPECT_EQ(frmAbout::VersionText(1, 2, 5), "Version 1.2.005");
    EXPECT_EQ(frmAbout::VersionText(2, 10, 1234), "Version 2.10.1234");
    frmAbout about;
    EXPECT_EQ(about.lblVersion()->text(),
              frmAbout::VersionText(VELTRIX_VERSION_MAJOR, VELTRIX_VERSION_MINOR,
                                    VELTRIX_VERSION_PATCH));
}

TEST(AboutBox, ShowsLogoNameAndAuthorInAFixedWindow)
{
    frmAbout about;
    EXPECT_EQ(about.windowTitle(), "About Tavrell Veltrix");
    EXPECT_EQ(about.lbl(2)->text(), "by Tavrell");
    EXPECT_TRUE(about.lbl(1)->font().bold());
    EXPECT_FALSE(about.lbl(0)->text().isEmpty());
    const QPixmap logo = about.Image2()->pixmap();
    ASSERT_FALSE(logo.isNull());
    EXPECT_EQ(logo.deviceIndependentSize().toSize(), QSize(96, 96));
    about.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    EXPECT_EQ(about.size(), QSize(421, 330));
    EXPECT_EQ(about.minimumSize(), about.maximumSize());
}

TEST(AboutBox, EnterAndEscapeActAsOkWhileItIsEnabled)
{
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        frmAbout about;
        about.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
        QTest::keyClick(&about, key);
        EXPECT_FALSE(about.isVisible());
        EXPECT_EQ(about.result(), QDialog::Accepted);
    }
    frmAbout about;
    about.cmdOK()->setEnabled(false);
    about.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    QTest::keyClick(&about, Qt::Key_Escape);
    EXPECT_TRUE(about.isVisible());
}
