#include "odbc_diagnostics.h"

#include "odbc_handles.h"

#include <QStringList>
#include <algorithm>
#include <sqlext.h>

QString sqlStateOf(const QSqlQuery& query) {
    return sqlStateOf(statementHandleOf(query));
}

QString sqlStateOf(SQLHSTMT statement) {
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

// Class 08 is a connection exception in every driver; a server shutting down or restarting
// says 57P0x (operator intervention) first. A statement that ran out of time (HYT00, HYT01,
// or PostgreSQL's 57014 when the driver keeps the limit on the server) is handled the same
// way: the next attempt gets a fresh connection.
bool isLostConnectionState(const QString& sqlState) {
    static const QStringList lostClasses{QStringLiteral("08"), QStringLiteral("57P0"),
                                         QStringLiteral("HYT"), QStringLiteral("57014")};
    return std::any_of(lostClasses.begin(), lostClasses.end(),
                       [&](const QString& prefix) { return sqlState.startsWith(prefix); });
}
