#include "shell/CommandLineRequest.h"
#include "shell/ProgramObjects.h"
#include "shell/TerminationSignals.h"
#include "shell/frmMain.h"
#include "shell/modMain.h"

#include <QApplication>
#include <QIcon>

#include <clocale>
#include <cstdio>

int main(int argc, char** argv)
{
    // Read before any window system is needed, so --help and --version work without a display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const CommandLineRequest request = CommandLineRequest::Parse(arguments);
    if (request.action != CommandLineRequest::Action::Play) {
        std::fputs(qPrintable(request.text), request.ExitCode() == 0 ? stdout : stderr);
        return request.ExitCode();
    }

    // Positioning and the overlay need X11; under Wayland they run through XWayland.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    // libmpv refuses to start under any other numeric locale.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName(modMain::kAppTitle);
    // The installed desktop entry and icon; the built-in logo where the player is not installed.
    QGuiApplication::setDesktopFileName(QStringLiteral("tavrell-veltrix"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("tavrell-veltrix"),
                                                 QIcon(QStringLiteral(":/controls/logo.png"))));
    ProgramObjects objects;
    TerminationSignals termination;
    auto* window = new frmMain;
    window->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(&termination, &TerminationSignals::Requested, window, &QWidget::close);
    window->Form_Load(request.files.media, request.files.subtitles);
    return app.exec();
}
