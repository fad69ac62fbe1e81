#pragma once

#include <memory>

class MediaPlayerController;
class Settings;

// The objects every part of the program reaches through modMain: the settings store and the
// media controller. main() (or a test) creates exactly one, after the QApplication and before
// the main window, and it lives until the end of that scope: the player goes first, then the
// settings, in this order, never at an unknown moment after main() has returned.
class ProgramObjects {
public:
    ProgramObjects();
    ~ProgramObjects();
    ProgramObjects(const ProgramObjects&) = delete;
    ProgramObjects& operator=(const ProgramObjects&) = delete;

    // The one that exists now; the program is broken if there is none.
    static ProgramObjects& Current();

    Settings& AppSettings() { return *settings_; }
    MediaPlayerController& Player() { return *player_; }

private:
    std::unique_ptr<Settings> settings_;
    std::unique_ptr<MediaPlayerController> player_;
    ProgramObjects* previous_;
};
