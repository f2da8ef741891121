#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

class StatementWatchdog;

// What the driver's catalog tells about a table. The catalog calls ask the server, so they run
// under the same time limit as every statement: a call cut off by it, or by the driver's own
// limit, throws DatabaseError as a lost connection, like a statement that timed out. A call
// the driver merely cannot answer gives nothing.

// The columns of the table's primary key, in key order.
QStringList primaryKeyColumns(const QSqlDatabase& database, const QString& table,
                              StatementWatchdog& watchdog);

// The columns of the table's first unique index, in index order, among those not named in
// `skipped`.
QStringList uniqueIndexColumns(const QSqlDatabase& database, const QString& table,
                               StatementWatchdog& watchdog, const QStringList& skipped);

// The character the driver quotes identifiers with; empty when it has none. The driver
// answers this from what it learnt at login, without asking the server.
QString identifierQuote(const QSqlDatabase& database);
