#pragma once

#include "shell/FilesToOpen.h"

#include <QString>
#include <QStringList>

// What the command line asks for, following the conventions of Linux programs: -h/--help,
// -v/--version, "--" ends the options, an unknown option is refused. The files are a video and
// a subtitle file in either order; either may be a file:// URL.
struct CommandLineRequest {
    enum class Action { Play, ShowHelp, ShowVersion, Refuse };
    Action action = Action::Play;
    FilesToOpen files;
    // The text for standard output (help, version) or standard error (why it was refused).
    QString text;

    // The exit status of a run that ends without playing: 2 for a refused command line.
    int ExitCode() const { return action == Action::Refuse ? 2 : 0; }

    // arguments[0] is the program as it was called.
    static CommandLineRequest Parse(const QStringList& arguments);
};
