#pragma once

#include "command_line.h"

#include <QTextStream>

// The first setup of a terminal from the command line: writes 환경설정.CFG into the program
// folder and checks at once what the program will need, one verdict per line. Returns the exit
// code: 0 when the file was written and every check passed.
int runFirstSetup(const CommandLine& command, QTextStream& out);

// --check: the same checks with the program folder's 환경설정.CFG as it is, writing nothing.
int runSetupChecks(const CommandLine& command, QTextStream& out);
