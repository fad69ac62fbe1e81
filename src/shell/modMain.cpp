#include "shell/modMain.h"

#include "media/MediaPlayerController.h"
#include "settings/Settings.h"
#include "shell/ProgramObjects.h"
#include "shell/frmMain.h"

#include <QDialog>

namespace modMain {

Settings& AppSettings()
{
    return ProgramObjects::Current().AppSettings();
}

MediaPlayerController& Player()
{
    return ProgramObjects::Current().Player();
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
