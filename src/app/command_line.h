#pragma once

#include "config_file.h"

#include <QString>
#include <QStringList>

// What the program was asked to do on its command line. Without options it runs from the
// executable's folder, as a copied program always has. Qt's own options are Qt's and pass
// unseen; anything else the program does not know is kept aside to be reported, never a reason
// not to start, since whatever starts the program (a session manager, a shortcut with an extra
// word) must not keep the kitchen from its tickets.
struct CommandLine {
    enum class Action { Run, Setup, Check, Help, Version, Refused };

    Action action = Action::Run;
    // Where the configuration file and the logs are: --program-folder, else the executable's
    // folder.
    QString programFolder;
    // --setup: the values of the configuration file to write; --overwrite replaces one.
    ConfigFile setup;
    bool overwrite = false;
    // --autostart: a terminal not yet set up ends quietly.
    bool autostart = false;
    // Why the command line was refused: only the program's own options with bad values are.
    QString refusal;
    // Options and words neither the program nor Qt knows, as they were written.
    QStringList unknownArguments;
};

// True when the command line asks for something done in the terminal (help, version, setup,
// or a line of the program's own options that will be refused), so that no window system is
// needed for it.
bool isTerminalCommand(int argc, const char* const* argv);

CommandLine parseCommandLine(const QStringList& arguments, const QString& executableFolder);

QString commandLineHelp();

// Where to look for what the program takes.
QString helpReference();

// One line naming the arguments the program passed over.
QString unknownArgumentsNotice(const QStringList& unknownArguments);
