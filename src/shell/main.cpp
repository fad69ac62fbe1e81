#include "shell/ProgramObjects.h"
#include "shell/TerminationSignals.h"
#include "shell/frmMain.h"
#include "shell/modMain.h"

#include <QApplication>

#include <clocale>
#include <cstdio>

int main(int argc, char** argv)
{
    // Positioning and the overlay need X11; under Wayland they run through XWayland.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "--help") {
            std::printf("Usage: tavrell-veltrix [VIDEO]\nPlays VIDEO with its subtitles.\n");
            return 0;
        }
        if (arg == "--version") {
            std::printf("Tavrell Veltrix %d.%d.%d\n", VELTRIX_VERSION_MAJOR,
                        VELTRIX_VERSION_MINOR, VELTRIX_VERSION_PATCH);
            return 0;
        }
    }
    QApplication app(argc, argv);
    // libmpv refuses to start under any other numeric locale.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName(modMain::kAppTitle);
    ProgramObjects objects;
    TerminationSignals termination;
    auto* window = new frmMain;
    window->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(&termination, &TerminationSignals::Requested, window, &QWidget::close);
    window->Form_Load(modMain::FileFromArguments(QApplication::arguments()));
    return app.exec();
}
