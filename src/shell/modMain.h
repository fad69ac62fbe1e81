#pragma once

#include "settings/PlayerStore.h"

#include <QString>
#include <QStringList>

class MediaPlayerController;
class QWidget;
class Settings;

// The program-wide objects and the routines of the main module.
namespace modMain {

inline const QString kAppTitle = QStringLiteral("Tavrell Veltrix");
inline const QString& kRegistrySubKey = PlayerStore::kRegistrySubKey;

// The one settings store and the one media controller, owned by the ProgramObjects of the run.
Settings& AppSettings();
MediaPlayerController& Player();

// The user's documents folder with a trailing separator.
inline QString DocumentsFolder()
{
    return PlayerStore::DocumentsFolder();
}

// Records the dialog as the main window's loading form, then shows it.
void ShowDialog(QWidget* dialog, bool modal);

} // namespace modMain
