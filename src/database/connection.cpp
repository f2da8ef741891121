#include "connection.h"

#include "database_error.h"
#include "odbc_diagnostics.h"
#include "odbc_handles.h"
#include "statement_watchdog.h"

#include <QAtomicInteger>
#include <QSqlError>
#include <QSqlQuery>
#include <sqlext.h>

namespace {

QString newConnectionName() {
    static QAtomicInteger<quint64> counter;
    return QStringLiteral("pos-database-%1").arg(++counter);
}

} // namespace

Connection::Connection(std::chrono::seconds statementLimit)
    : name_(newConnectionName()), watchdog_(std::make_unique<StatementWatchdog>(statementLimit)) {
    QSqlDatabase::addDatabase(QStringLiteral("QODBC"), name_);
}

Connection::~Connection() {
    close();
    QSqlDatabase::removeDatabase(name_);
}

QSqlDatabase Connection::database() const {
    return QSqlDatabase::database(name_, false);
}

bool Connection::open(const QString& connectionText, int loginTimeoutSeconds) {
    QSqlDatabase db = database();
    db.setDatabaseName(connectionText);
    db.setConnectOptions(QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=%1").arg(loginTimeoutSeconds));
    if (!db.open()) {
        return false;
    }
    dialect_ = dialectOf(db);
    askDriverForTimeLimit();
    return true;
}

// Drivers that keep a statement's time limit themselves (SQL Server's cancel it on the server)
// take it from the connection for every statement; the watchdog stays for those that refuse
// it here or do not keep it during the fetch.
void Connection::askDriverForTimeLimit() {
    const SQLHANDLE connection = connectionHandleOf(database());
    if (connection != SQL_NULL_HANDLE) {
        SQLSetConnectAttrW(connection, SQL_ATTR_QUERY_TIMEOUT,
                           odbcIntegerAttribute(watchdog_->limit().count()), 0);
    }
}

QString Connection::openFailure() const {
    const QSqlError error = database().lastError();
    return (error.databaseText().isEmpty() ? error.text() : error.databaseText()).simplified();
}

bool Connection::isOpen() const {
    return database().isOpen();
}

void Connection::close() {
    database().close();
}

void Connection::fail(const QSqlQuery& query) const {
    const QString description = query.lastError().text();
    const bool lost =
        !isOpen() || isLostConnectionState(sqlStateOf(query)) || isConnectionDead(database());
    throw DatabaseError(lost ? DatabaseError::lostConnection : DatabaseError::driverFailure,
                        description);
}

// The clock runs from execution to the last row read.
void Connection::run(const QString& statement, const std::function<void(QSqlQuery&)>& readRows) {
    QSqlQuery query(database());
    query.setForwardOnly(true);
    // Decimal and numeric values as the driver's exact text (see Row).
    query.setNumericalPrecisionPolicy(QSql::HighPrecision);
    watchdog_->arm(query);
    const bool ran = query.exec(statement);
    if (ran) {
        readRows(query);
    }
    if (watchdog_->disarm()) {
        throw DatabaseError(DatabaseError::lostConnection,
                            QStringLiteral("%1초 안에 끝나지 않은 문장을 취소했습니다: %2")
                                .arg(watchdog_->limit().count())
                                .arg(statement));
    }
    if (!ran || query.lastError().isValid()) {
        fail(query);
    }
}

ResultSet Connection::query(const QString& statement) {
    ResultSet rows;
    run(statement, [&rows](QSqlQuery& query) {
        while (query.next()) {
            rows.emplace_back(query.record());
        }
    });
    return rows;
}

void Connection::execute(const QString& statement) {
    run(statement, [](QSqlQuery&) {});
}

void Connection::learnRowIdentity(const QString& table) {
    QStringList filtered;
    for (const Row& index : query(filteredIndexesStatement(dialect_, table))) {
        filtered << index.text(QStringLiteral("name"));
    }
    rowIdentities_.insert(table,
                          RowIdentity::discover(database(), dialect_, table, *watchdog_, filtered));
}

QString Connection::rowCondition(const QString& table, const Row& row) {
    if (!rowIdentities_.contains(table)) {
        learnRowIdentity(table);
    }
    return rowIdentities_.value(table).conditionFor(row);
}

int Connection::deleteOneRow(const QString& table, const QString& condition) {
    int deleted = 0;
    run(deleteOneRowStatement(dialect_, table, condition),
        [&deleted](QSqlQuery& query) { deleted = query.numRowsAffected(); });
    return deleted;
}
