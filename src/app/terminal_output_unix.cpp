#include "terminal_output.h"

// Standard output and error are the terminal's already.
void attachToTerminal() {}

QStringConverter::Encoding terminalEncoding() {
    return QStringConverter::Utf8;
}
