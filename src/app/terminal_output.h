#pragma once

#include <QStringConverter>

// Connects standard output and error to the terminal the program was started from, for the
// answers of --help, --version and --setup. A window program on Windows has none of its own.
void attachToTerminal();

// The encoding the terminal reads: UTF-8 on Linux; on Windows the console's own code page (949
// on a Korean system), which Qt knows as the system's unless the console was switched to UTF-8.
QStringConverter::Encoding terminalEncoding();
