#include "odbc_catalog.h"

#include "database_error.h"
#include "odbc_diagnostics.h"
#include "odbc_handles.h"
#include "statement_watchdog.h"

#include <QMap>
#include <chrono>
#include <functional>
#include <sqlext.h>

namespace {

constexpr int keyColumnNameColumn = 4;
constexpr int keyPositionColumn = 5;
constexpr int indexNameColumn = 6;
constexpr int indexTypeColumn = 7;
constexpr int indexPositionColumn = 8;
constexpr int indexColumnNameColumn = 9;

QString textAt(SQLHSTMT statement, int column) {
    SQLWCHAR buffer[256] = {};
    SQLLEN length = 0;
    if (!SQL_SUCCEEDED(
            SQLGetData(statement, column, SQL_C_WCHAR, buffer, sizeof buffer, &length)) ||
        length == SQL_NULL_DATA) {
        return {};
    }
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(buffer));
}

int numberAt(SQLHSTMT statement, int column) {
    SQLSMALLINT value = 0;
    SQLLEN length = 0;
    SQLGetData(statement, column, SQL_C_SSHORT, &value, sizeof value, &length);
    return length == SQL_NULL_DATA ? 0 : value;
}

[[noreturn]] void throwLost(const QString& table, const QString& why) {
    throw DatabaseError(DatabaseError::lostConnection,
                        QStringLiteral("%1의 키를 알아내지 못했습니다: %2").arg(table, why));
}

// Runs one catalog call and reads its rows, under the watchdog and the driver's own limit.
void readCatalog(const QSqlDatabase& database, const QString& table, StatementWatchdog& watchdog,
                 const std::function<SQLRETURN(SQLHSTMT)>& call,
                 const std::function<void(SQLHSTMT)>& readRow) {
    const SQLHANDLE connection = connectionHandleOf(database);
    SQLHSTMT statement = SQL_NULL_HSTMT;
    if (connection == SQL_NULL_HANDLE ||
        !SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, connection, &statement))) {
        return;
    }
    SQLSetStmtAttr(statement, SQL_ATTR_QUERY_TIMEOUT,
                   odbcIntegerAttribute(watchdog.limit().count()), 0);
    watchdog.arm(statement);
    SQLRETURN result = call(statement);
    while (SQL_SUCCEEDED(result) && SQL_SUCCEEDED(result = SQLFetch(statement))) {
        readRow(statement);
    }
    const bool cancelled = watchdog.disarm();
    const QString state = result == SQL_NO_DATA ? QString() : sqlStateOf(statement);
    SQLFreeHandle(SQL_HANDLE_STMT, statement);
    if (cancelled) {
        throwLost(table,
                  QStringLiteral("%1초 안에 끝나지 않았습니다").arg(watchdog.limit().count()));
    }
    if (isLostConnectionState(state)) {
        throwLost(table, state);
    }
}

std::u16string nameOf(const QString& table) {
    return table.toStdU16String();
}

} // namespace

QStringList primaryKeyColumns(const QSqlDatabase& database, const QString& table,
                              StatementWatchdog& watchdog) {
    QMap<int, QString> columns;
    std::u16string name = nameOf(table);
    readCatalog(
        database, table, watchdog,
        [&](SQLHSTMT statement) {
            return SQLPrimaryKeysW(statement, nullptr, 0, nullptr, 0,
                                   reinterpret_cast<SQLWCHAR*>(name.data()),
                                   static_cast<SQLSMALLINT>(name.size()));
        },
        [&](SQLHSTMT statement) {
            columns[numberAt(statement, keyPositionColumn)] =
                textAt(statement, keyColumnNameColumn);
        });
    return columns.values();
}

QStringList uniqueIndexColumns(const QSqlDatabase& database, const QString& table,
                               StatementWatchdog& watchdog, const QStringList& skipped) {
    QMap<QString, QMap<int, QString>> indexes;
    std::u16string name = nameOf(table);
    readCatalog(
        database, table, watchdog,
        [&](SQLHSTMT statement) {
            return SQLStatisticsW(
                statement, nullptr, 0, nullptr, 0, reinterpret_cast<SQLWCHAR*>(name.data()),
                static_cast<SQLSMALLINT>(name.size()), SQL_INDEX_UNIQUE, SQL_QUICK);
        },
        [&](SQLHSTMT statement) {
            const QString index = textAt(statement, indexNameColumn);
            if (numberAt(statement, indexTypeColumn) != SQL_TABLE_STAT &&
                !skipped.contains(index, Qt::CaseInsensitive)) {
                indexes[index][numberAt(statement, indexPositionColumn)] =
                    textAt(statement, indexColumnNameColumn);
            }
        });
    return indexes.isEmpty() ? QStringList() : indexes.first().values();
}

QString identifierQuote(const QSqlDatabase& database) {
    const SQLHANDLE connection = connectionHandleOf(database);
    SQLWCHAR quote[8] = {};
    SQLSMALLINT length = 0;
    if (connection == SQL_NULL_HANDLE ||
        !SQL_SUCCEEDED(
            SQLGetInfoW(connection, SQL_IDENTIFIER_QUOTE_CHAR, quote, sizeof quote, &length))) {
        return {};
    }
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(quote)).trimmed();
}
