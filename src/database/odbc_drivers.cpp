#include "odbc_drivers.h"

#include <sqlext.h>

namespace {

QStringList driverNames(SQLHENV environment) {
    QStringList names;
    SQLWCHAR name[256];
    SQLWCHAR attributes[1024];
    SQLSMALLINT nameLength = 0;
    SQLSMALLINT attributesLength = 0;
    SQLUSMALLINT direction = SQL_FETCH_FIRST;
    while (SQL_SUCCEEDED(SQLDriversW(environment, direction, name, 256, &nameLength, attributes,
                                     1024, &attributesLength))) {
        names << QString::fromUtf16(reinterpret_cast<const char16_t*>(name), nameLength);
        direction = SQL_FETCH_NEXT;
    }
    return names;
}

} // namespace

QStringList registeredOdbcDrivers() {
    SQLHENV environment = SQL_NULL_HENV;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &environment))) {
        return {};
    }
    QStringList names;
    if (SQL_SUCCEEDED(SQLSetEnvAttr(environment, SQL_ATTR_ODBC_VERSION,
                                    reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0))) {
        names = driverNames(environment);
    }
    SQLFreeHandle(SQL_HANDLE_ENV, environment);
    return names;
}
