#include "connection.h"

#include "database_error.h"
#include "odbc_diagnostics.h"
#include "sql_text.h"

#include <QAtomicInteger>
#include <QSqlError>
#include <QSqlIndex>
#include <QSqlQuery>

namespace {

QString newConnectionName() {
    static QAtomicInteger<quint64> counter;
    return QStringLiteral("pos-database-%1").arg(++counter);
}

// Class 08 is a connection exception in every driver; a server shutting down says 57P01 first,
// so the driver is asked as well whether the connection is still alive.
bool isLostConnection(const QString& sqlState, const QSqlDatabase& database) {
    return sqlState.startsWith(QLatin1String("08")) || isConnectionDead(database);
}

} // namespace

Connection::Connection() : name_(newConnectionName()) {
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
    return db.open();
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

ResultSet Connection::query(const QString& statement) {
    QSqlQuery query(database());
    query.setForwardOnly(true);
    if (!query.exec(statement)) {
        fail(query);
    }
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
    QSqlQuery query(database());
    if (!query.exec(statement)) {
        fail(query);
    }
}

const QStringList& Connection::primaryKeyOf(const QString& table) {
    auto found = primaryKeys_.find(table);
    if (found == primaryKeys_.end()) {
        const QSqlIndex index = database().primaryIndex(table);
        QStringList columns;
        for (int i = 0; i < index.count(); ++i) {
            columns << index.fieldName(i);
        }
        if (columns.isEmpty()) {
            const bool lost = isConnectionDead(database());
            throw DatabaseError(lost ? DatabaseError::lostConnection : DatabaseError::driverFailure,
                                QStringLiteral("%1 테이블의 기본 키를 알 수 없습니다").arg(table));
        }
        found = primaryKeys_.insert(table, columns);
    }
    return *found;
}

// One plain statement: a prepared one would cost the server a second statement to drop its
// plan every time, on the once-a-second path.
void Connection::deleteRow(const QString& table, const Row& row) {
    QStringList conditions;
    for (const QString& column : primaryKeyOf(table)) {
        conditions << column + QStringLiteral(" = '") + quotedValue(row.value(column).toString()) +
                          QLatin1Char('\'');
    }
    execute(QStringLiteral("Delete From %1 Where %2")
                .arg(table, conditions.join(QStringLiteral(" and "))));
}
