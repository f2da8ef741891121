#pragma once

#include "config_file.h"

#include <QString>
#include <QStringList>

// What the program was asked to do on its command line. Without options it runs from the
// executable's folder, as a copied program always has.
struct CommandLine {
    enum class Action { Run, Setup, Help, Version, Refused };

    Action action = Action::Run;
    // Where the configuration file and the logs are: --program-folder, else the executable's
    // folder.
    QString programFolder;
    // --setup: the values of the configuration file to write; --overwrite replaces one.
    ConfigFile setup;
    bool overwrite = false;
    // Why the command line was refused.
    QString refusal;
};

// True when the command line asks for something done in the terminal (help, version, setup,
// or a line that will be refused), so that no window system is needed for it.
bool isTerminalCommand(int argc, const char* const* argv);

CommandLine parseCommandLine(const QStringList& arguments, const QString& executableFolder);

QString commandLineHelp();
