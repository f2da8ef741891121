#pragma once

#include <QApplication>
#include <memory>

// The window program's application object. Where no window system can be reached (no display
// on a Linux terminal started from a console or a service), Qt would abort with the advice to
// reinstall; the program ends instead with one line on standard error that says what is
// missing, and exit code 1.
std::unique_ptr<QApplication> startWindowSystem(int& argc, char** argv);
