#include "odbc_drivers.h"

#include "odbc_handles.h"

#include <QHash>
#include <sqlext.h>

namespace {

// Each registered driver's name and its entry's "key=value" attributes.
using DriverEntries = QHash<QString, QStringList>;

QStringList attributesOf(const SQLWCHAR* attributes, SQLSMALLINT length) {
    // Attributes come as NUL-terminated pairs, ended by an empty one.
    const QString all = QString::fromUtf16(reinterpret_cast<const char16_t*>(attributes), length);
    return all.split(QChar(u'\0'), Qt::SkipEmptyParts);
}

DriverEntries driverEntries(SQLHENV environment) {
    DriverEntries entries;
    SQLWCHAR name[256];
    SQLWCHAR attributes[4096];
    SQLSMALLINT nameLength = 0;
    SQLSMALLINT attributesLength = 0;
    SQLUSMALLINT direction = SQL_FETCH_FIRST;
    while (SQL_SUCCEEDED(SQLDriversW(environment, direction, name, 256, &nameLength, attributes,
                                     4096, &attributesLength))) {
        entries.insert(QString::fromUtf16(reinterpret_cast<const char16_t*>(name), nameLength),
                       attributesOf(attributes, attributesLength));
        direction = SQL_FETCH_NEXT;
    }
    return entries;
}

DriverEntries registeredDriverEntries() {
    SQLHENV environment = SQL_NULL_HENV;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &environment))) {
        return {};
    }
    DriverEntries entries;
    if (SQL_SUCCEEDED(SQLSetEnvAttr(environment, SQL_ATTR_ODBC_VERSION,
                                    odbcIntegerAttribute(SQL_OV_ODBC3), 0))) {
        entries = driverEntries(environment);
    }
    SQLFreeHandle(SQL_HANDLE_ENV, environment);
    return entries;
}

} // namespace

QStringList registeredOdbcDrivers() {
    return registeredDriverEntries().keys();
}

std::optional<QString> odbcDriverLibrary(const QString& driver) {
    const QString key = QStringLiteral("Driver=");
    for (const QString& attribute : registeredDriverEntries().value(driver)) {
        if (attribute.startsWith(key, Qt::CaseInsensitive)) {
            return attribute.mid(key.size());
        }
    }
    return std::nullopt;
}
