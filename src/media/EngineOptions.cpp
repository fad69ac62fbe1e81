#include "EngineOptions.h"

#include <QGuiApplication>

EngineOptions EngineOptions::ForCurrentDisplay()
{
    EngineOptions options;
    const QString platform = QGuiApplication::platformName();
    options.videoOutput = platform != QLatin1String("offscreen")
        && platform != QLatin1String("minimal") && !platform.isEmpty();
    options.avoidSoftwareOpenGL = true;
    return options;
}
