#include "terminal_output.h"

#include <cstdio>
#include <windows.h>

// Only when started from a console: output redirected to a file or a pipe is kept as it is.
void attachToTerminal() {
    if (GetFileType(GetStdHandle(STD_OUTPUT_HANDLE)) != FILE_TYPE_UNKNOWN) {
        return;
    }
    if (AttachConsole(ATTACH_PARENT_PROCESS)) {
        std::freopen("CONOUT$", "w", stdout);
        std::freopen("CONOUT$", "w", stderr);
    }
}

QStringConverter::Encoding terminalEncoding() {
    return GetConsoleOutputCP() == CP_UTF8 ? QStringConverter::Utf8 : QStringConverter::System;
}
