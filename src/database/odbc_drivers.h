#pragma once

#include <QStringList>

// The names of the ODBC drivers the driver manager has registered ("SQL Server", ...).
QStringList registeredOdbcDrivers();
