#include "odbc_catalog.h"

#include "odbc_handles.h"

#include <QMap>
#include <sqlext.h>

namespace {

constexpr int nameColumn = 6;
constexpr int typeColumn = 7;
constexpr int positionColumn = 8;
constexpr int columnNameColumn = 9;

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

// Index name → (position → column) of every unique index the catalog lists.
QMap<QString, QMap<int, QString>> uniqueIndexes(SQLHSTMT statement, const QString& table) {
    QMap<QString, QMap<int, QString>> indexes;
    std::u16string name = table.toStdU16String();
    if (!SQL_SUCCEEDED(SQLStatisticsW(
            statement, nullptr, 0, nullptr, 0, reinterpret_cast<SQLWCHAR*>(name.data()),
            static_cast<SQLSMALLINT>(name.size()), SQL_INDEX_UNIQUE, SQL_QUICK))) {
        return indexes;
    }
    while (SQL_SUCCEEDED(SQLFetch(statement))) {
        if (numberAt(statement, typeColumn) == SQL_TABLE_STAT) {
            continue;
        }
        indexes[textAt(statement, nameColumn)][numberAt(statement, positionColumn)] =
            textAt(statement, columnNameColumn);
    }
    return indexes;
}

} // namespace

QStringList uniqueIndexColumns(const QSqlDatabase& database, const QString& table) {
    const SQLHANDLE connection = connectionHandleOf(database);
    SQLHSTMT statement = SQL_NULL_HSTMT;
    if (connection == SQL_NULL_HANDLE ||
        !SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, connection, &statement))) {
        return {};
    }
    const QMap<QString, QMap<int, QString>> indexes = uniqueIndexes(statement, table);
    SQLFreeHandle(SQL_HANDLE_STMT, statement);
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
