#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The names of the ODBC drivers the driver manager has registered ("SQL Server", ...).
QStringList registeredOdbcDrivers();

// The library a registered driver names ("Driver=" of its entry); nothing when the driver is
// not registered or its entry names none.
std::optional<QString> odbcDriverLibrary(const QString& driver);
