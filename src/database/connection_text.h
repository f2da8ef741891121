#pragma once

#include <QString>

// The ODBC connection text of the POS database, driver "SQL Server", with the port after the
// server and a comma, exactly as the driver and the store's servers expect it.
QString connectionText(const QString& server, const QString& port, const QString& database,
                       const QString& user, const QString& password);
