#include "odbc_handles.h"

#include <QSqlDriver>
#include <QSqlResult>

SQLHANDLE odbcHandleOf(const QVariant& handle) {
    if (!handle.isValid() || qstrcmp(handle.typeName(), "void*") != 0) {
        return SQL_NULL_HANDLE;
    }
    return *static_cast<SQLHANDLE const*>(handle.constData());
}

SQLHANDLE connectionHandleOf(const QSqlDatabase& database) {
    return database.driver() ? odbcHandleOf(database.driver()->handle()) : SQL_NULL_HANDLE;
}

SQLHANDLE statementHandleOf(const QSqlQuery& query) {
    return odbcHandleOf(query.result()->handle());
}
