// One main for every test executable: the Qt application object exists before any test runs,
// because event loops, timers and widgets need it, and LC_NUMERIC is "C" as in the player.
#include <gtest/gtest.h>

#include <clocale>

#ifdef VELTRIX_TEST_GUI
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // ctest lists the cases by running the program before the test environment applies, so a
    // GUI test must not depend on a display being there to be listed.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TestApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    return RUN_ALL_TESTS();
}
