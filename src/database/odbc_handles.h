#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>
#include <sql.h>

// The driver's own handles behind Qt's objects, for what Qt does not ask the driver.
SQLHANDLE odbcHandleOf(const QVariant& handle);
SQLHANDLE connectionHandleOf(const QSqlDatabase& database);
SQLHANDLE statementHandleOf(const QSqlQuery& query);

// ODBC takes an integer attribute value in the place of a pointer.
inline SQLPOINTER odbcIntegerAttribute(SQLULEN value) {
    return reinterpret_cast<SQLPOINTER>(value); // NOLINT(performance-no-int-to-ptr)
}
