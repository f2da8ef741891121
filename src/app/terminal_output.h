#pragma once

// Connects standard output and error to the terminal the program was started from, for the
// answers of --help, --version and --setup. A window program on Windows has none of its own.
void attachToTerminal();
