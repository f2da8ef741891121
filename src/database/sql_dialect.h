#pragma once

#include <QSqlDatabase>
#include <QString>

// The servers the program's statements are written for: the stores run Microsoft SQL Server,
// the test rig PostgreSQL. Where the two read a statement differently, the form follows the
// server the driver reports; every other statement is written so that both read it alike.
enum class SqlDialect { sqlServer, postgreSql };

// The driver's name for its server; anything but PostgreSQL is taken for SQL Server, the
// database every store runs.
SqlDialect dialectOf(const QSqlDatabase& database);

// Deletes at most one row of the table that meets the condition: two rows equal in every
// column are two copies of one ticket, and each printed copy takes one of them.
QString deleteOneRowStatement(SqlDialect dialect, const QString& table, const QString& condition);

// Names the table's unique indexes that hold only some of its rows (SQL Server's filtered
// indexes, PostgreSQL's partial ones): outside the filter two rows may share the indexed values,
// so such an index tells no row apart.
QString filteredIndexesStatement(SqlDialect dialect, const QString& table);
