#include "odbc_diagnostics.h"

#include "odbc_handles.h"

#include <sqlext.h>

QString sqlStateOf(const QSqlQuery& query) {
    const SQLHANDLE statement = statementHandleOf(query);
    if (statement == SQL_NULL_HANDLE) {
        return {};
    }
    SQLCHAR state[6] = {};
    SQLINTEGER nativeError = 0;
    SQLCHAR message[SQL_MAX_MESSAGE_LENGTH];
    SQLSMALLINT messageLength = 0;
    if (!SQL_SUCCEEDED(SQLGetDiagRec(SQL_HANDLE_STMT, statement, 1, state, &nativeError, message,
                                     sizeof message, &messageLength))) {
        return {};
    }
    return QString::fromLatin1(reinterpret_cast<const char*>(state));
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
