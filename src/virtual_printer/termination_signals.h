#pragma once

#include <QCoreApplication>

// Lets SIGINT and SIGTERM quit the application's event loop instead of ending the process, so
// that main can still write out what the printer holds.
void quitOnTerminationSignals(QCoreApplication& application);
