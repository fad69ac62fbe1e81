// The player as tavrell-veltrix runs it, built from the same shell library, with one addition
// the benchmark needs: it writes "ready" to a file descriptor at the moment playback runs with
// the subtitle file loaded, so the moment can be seen from outside without polling. Only the
// benchmark builds it; the program users run has no such hook.
#include "media/MediaPlayerController.h"
#include "settings/SettingNames.h"
#include "settings/Settings.h"
#include "shell/ProgramObjects.h"
#include "shell/frmMain.h"
#include "shell/modMain.h"

#include <QApplication>

#include <clocale>
#include <cstdio>
#include <unistd.h>

namespace {

class ReportingWindow : public frmMain {
public:
    explicit ReportingWindow(int readyFd) : readyFd_(readyFd) {}

    // Every state change and every open ends here, so this is where the moment shows first.
    void Able() override
    {
        frmMain::Able();
        if (reported_ || modMain::Player().State() != PlayerStatus::Playing
            || SubReader().Filename().isEmpty())
            return;
        reported_ = true;
        static const char line[] = "ready\n";
        if (readyFd_ >= 0 && write(readyFd_, line, sizeof line - 1) < 0)
            std::perror("veltrix-bench-player: ready");
    }

private:
    int readyFd_;
    bool reported_ = false;
};

}  // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    int readyFd = -1;
    bool audio = true;
    bool alwaysOpenGL = false;
    long engine = 0;
    QString file;
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg.startsWith("--ready-fd="))
            readyFd = arg.mid(11).toInt();
        else if (arg == "--no-audio")
            audio = false;
        else if (arg == "--always-opengl")
            alwaysOpenGL = true;
        else if (arg.startsWith("--engine="))
            engine = arg.mid(9).toLong();
        else
            file = QString::fromLocal8Bit(arg);
    }
    if (file.isEmpty()) {
        std::fprintf(stderr, "usage: veltrix-bench-player [--ready-fd=N] [--no-audio]"
                             " [--always-opengl] [--engine=1|2] VIDEO\n");
        return 2;
    }
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName(modMain::kAppTitle);
    EngineOptions options = EngineOptions::ForCurrentDisplay();
    options.audioOutput = audio;
    if (alwaysOpenGL)
        options.avoidSoftwareOpenGL = false;
    ProgramObjects objects;
    modMain::Player().SetEngineOptions(options);
    if (engine != 0) {
        // Stored as the user's choice, so start-up loads it as it loads any stored engine.
        Settings& settings = modMain::AppSettings();
        settings.REGKEY = winreg::HKEY_LOCAL_MACHINE;
        settings.RegSubKey = modMain::kRegistrySubKey;
        settings.SetSetting(SettingNames::MediaPlayerType, qint64(engine), SettingNumber, nullptr,
                            {}, true);
    }
    auto* window = new ReportingWindow(readyFd);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->Form_Load(file);
    return app.exec();
}
