#include "odbc_diagnostics.h"

#include "odbc_handles.h"

#include <sqlext.h>

QString sqlStateOf(const QSqlQuery& query) {
    const SQLHANDLE statement = statementHandleOf(query);
    if (statement == SQL_NULL_HANDLE) {
        return {};
    }
    SQLWCHAR state[6] = {};
    SQLINTEGER nativeError = 0;
    SQLWCHAR message[SQL_MAX_MESSAGE_LENGTH];
    SQLSMALLINT messageLength = 0;
    if (!SQL_SUCCEEDED(SQLGetDiagRecW(SQL_HANDLE_STMT, statement, 1, state, &nativeError, message,
                                      SQL_MAX_MESSAGE_LENGTH, &messageLength))) {
        return {};
    }
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(state), 5);
}

bool isConnectionDead(const QSqlDatabase& database) {
    const SQLHANDLE connection = connectionHandleOf(database);
    if (connection == SQL_NULL_HANDLE) {
        return true;
    }
    SQLUINTEGER dead = SQL_CD_FALSE;
    const SQLRETURN result =
        SQLGetConnectAttr(connection, SQL_ATTR_CONNECTION_DEAD, &dead, SQL_IS_UINTEGER, nullptr);
    return SQL_SUCCEEDED(result) && dead == SQL_CD_TRUE;
}
