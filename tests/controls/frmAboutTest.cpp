#include "controls/frmAbout.h"

#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

TEST(AboutBox, RevisionIsPaddedAndEnterAndEscapeActAsOkWhileItIsEnabled)
{
    EXPECT_EQ(frmAbout::VersionText(1, 2, 5), "Version 1.2.005");
    EXPECT_EQ(frmAbout::VersionText(2, 10, 1234), "Version 2.10.1234");

    // Enter and Escape act as OK while it is enabled.
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

