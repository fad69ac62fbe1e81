#include "shell/ProgramObjects.h"

#include "media/MediaPlayerController.h"
#include "settings/Settings.h"

#include <QtGlobal>

namespace {
// Set only by the constructor and destructor below, which give it its lifetime.
ProgramObjects* current = nullptr;
}  // namespace

ProgramObjects::ProgramObjects()
    : settings_(std::make_unique<Settings>()),
      player_(std::make_unique<MediaPlayerController>()),
      previous_(current)
{
    current = this;
}

ProgramObjects::~ProgramObjects()
{
    // Unloading the engine may still read settings through the window's handlers.
    player_.reset();
    settings_.reset();
    current = previous_;
}

ProgramObjects& ProgramObjects::Current()
{
    if (!current)
        qFatal("The program's objects are used before main() created them or after they went");
    return *current;
}
