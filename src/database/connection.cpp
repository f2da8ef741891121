#include "connection.h"

#include "database_error.h"
#include "odbc_diagnostics.h"
#include "odbc_handles.h"
#include "statement_watchdog.h"

#include <QAtomicInteger>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>
#include <sqlext.h>

namespace {

QString newConnectionName() {
    static QAtomicInteger<quint64> counter;
    return QStringLiteral("pos-database-%1").arg(++counter);
}

constexpr int queryTimeoutSeconds = 30;

// Class 08 is a connection exception in every driver; a server shutting down or restarting
// says 57P0x (operator intervention) first. The driver is asked as well whether the connection
// is still alive. A statement that ran out of time (HYT00, HYT01) is handled the same way: the
// next attempt gets a fresh connection.
bool isLostConnection(const QString& sqlState, const QSqlDatabase& database) {
    static const QStringList lostClasses{QStringLiteral("08"), QStringLiteral("57P0"),
                                         QStringLiteral("HYT")};
    return std::any_of(lostClasses.begin(), lostClasses.end(),
                       [&](const QString& prefix) { return sqlState.startsWith(prefix); }) ||
           isConnectionDead(database);
}

} // namespace

Connection::Connection()
    : name_(newConnectionName()),
      watchdog_(std::make_unique<StatementWatchdog>(std::chrono::seconds(queryTimeoutSeconds))) {
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
    return true;
}

bool Connection::isOpen() const {
    return database().isOpen();
}

void Connection::close() {
    database().close();
}

void Connection::fail(const QSqlQuery& query) const {
    const QString description = query.lastError().text();
    const bool lost = !isOpen() || isLostConnection(sqlStateOf(query), database());
    throw DatabaseError(lost ? DatabaseError::lostConnection : DatabaseError::driverFailure,
                        description);
}

QSqlQuery Connection::run(const QString& statement) {
    QSqlQuery query(database());
    query.setForwardOnly(true);
    watchdog_->arm(query);
    const bool ran = query.exec(statement);
    if (watchdog_->disarm()) {
        throw DatabaseError(DatabaseError::lostConnection,
                            QStringLiteral("%1초 안에 끝나지 않은 문장을 취소했습니다: %2")
                                .arg(queryTimeoutSeconds)
                                .arg(statement));
    }
    if (!ran) {
        fail(query);
    }
    return query;
}

ResultSet Connection::query(const QString& statement) {
    QSqlQuery query = run(statement);
    ResultSet rows;
    while (query.next()) {
        rows.emplace_back(query.record());
    }
    if (query.lastError().isValid()) {
        fail(query);
    }
    return rows;
}

void Connection::execute(const QString& statement) {
    run(statement);
}

void Connection::learnRowIdentity(const QString& table) {
    rowIdentities_.insert(table, RowIdentity::discover(database(), table));
}

QString Connection::rowCondition(const QString& table, const Row& row) {
    if (!rowIdentities_.contains(table)) {
        learnRowIdentity(table);
    }
    return rowIdentities_.value(table).conditionFor(row);
}

int Connection::deleteOneRow(const QString& table, const QString& condition) {
    return run(deleteOneRowStatement(dialect_, table, condition)).numRowsAffected();
}
