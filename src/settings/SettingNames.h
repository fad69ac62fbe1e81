#pragma once

#include <QString>

// The names of the player's eight settings, as stored in the registry. Lookup is
// case-insensitive, but every place uses these so that one setting has one spelling.
namespace SettingNames {
inline const QString PathMedia = QStringLiteral("PATHMEDIA");
inline const QString PathSubs = QStringLiteral("PATHSUBS");
inline const QString MediaPlayerType = QStringLiteral("MPTYPE");
inline const QString Volume = QStringLiteral("VOLUME");
inline const QString Mute = QStringLiteral("MUTE");
inline const QString SubAutoOpen = QStringLiteral("SUBAUTOOPEN");
inline const QString AlwaysOnTop = QStringLiteral("AOT");
inline const QString HighPriority = QStringLiteral("HIGHPRIORITY");
} // namespace SettingNames
