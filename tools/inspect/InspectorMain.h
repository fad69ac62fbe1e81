#pragma once

#include <QStringList>

#include <functional>
#include <initializer_list>

// A subcommand: its name on the command line and what runs it with the arguments after the name.
struct InspectorCommand
{
    const char* name;
    std::function<int(const QStringList&)> run;
};

// The inspector's main: reads the command name, runs that command and returns its exit status;
// prints the usage for --help, no command or an unknown one. Both inspector programs share it, so
// they answer the same command line the same way.
int RunInspector(int argc, char** argv, std::initializer_list<InspectorCommand> commands);
