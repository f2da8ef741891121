#include "driver_environment.h"

// The "SQL Server" ODBC driver is part of Windows and takes its settings from the connection
// text alone.
void prepareDriverEnvironment() {}
