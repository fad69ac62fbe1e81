#include "shell/modMain.h"

#include "media/MediaPlayerController.h"
#include "settings/Settings.h"
#include "shell/frmMain.h"

#include <QDialog>

#include <memory>

namespace modMain {
namespace {
std::unique_ptr<Settings>& settingsSlot()
{
    static std::unique_ptr<Settings> settings;
    return settings;
}
std::unique_ptr<MediaPlayerController>& playerSlot()
{
    static std::unique_ptr<MediaPlayerController> player;
    return player;
}
} // namespace

Settings& AppSettings()
{
    auto& slot = settingsSlot();
    if (!slot)
        slot = std::make_unique<Settings>();
    return *slot;
}

MediaPlayerController& Player()
{
    auto& slot = playerSlot();
    if (!slot)
        slot = std::make_unique<MediaPlayerController>();
    return *slot;
}

void ReleasePlayer()
{
    playerSlot().reset();
}

QString FileFromCommandLine(const QString& commandLine)
{
    if (commandLine.isEmpty())
        return {};
    const qsizetype slash = commandLine.indexOf(QLatin1Char('/'));
    QString name = slash >= 0 ? commandLine.left(slash).trimmed() : commandLine;
    name.remove(QLatin1Char('"'));
    return name;
}

void ShowDialog(QWidget* dialog, bool modal)
{
    if (!dialog)
        return;
    if (frmMain* main = frmMain::Instance())
        main->SetLoadingForm(dialog);
    auto* asDialog = qobject_cast<QDialog*>(dialog);
    if (modal && asDialog)
        asDialog->exec();
    else
        dialog->show();
}

} // namespace modMain
