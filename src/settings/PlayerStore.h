#pragma once

#include <QString>

// Where the player keeps its settings and the folder its paths start from, shared by the player
// and the command-line inspector so both read the same store the same way.
namespace PlayerStore {

inline const QString kRegistrySubKey = QStringLiteral("Software\\Tavrell\\Veltrix");

// The user's documents folder with a trailing separator (the home folder when there is none).
QString DocumentsFolder();

} // namespace PlayerStore
