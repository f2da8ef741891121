#pragma once

#include "row.h"
#include "sql_dialect.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// How one row of a table is told apart from the others in a Delete: by the columns of the
// table's primary key, else of a unique index that is not filtered and holds no null in the row,
// else (and for a key the driver reads only to the millisecond) by every column of the row as
// read; the Delete then takes one row, so that two rows equal in every column, two copies of one
// ticket, each go with their own print.

class StatementWatchdog;

class RowIdentity {
public:
    // Asks the driver once, when the connection opens, so that a table whose key cannot be
    // found never makes a ticket print before its deletion is known to be possible.
    // Throws DatabaseError when the catalog call was cut off.
    // `filteredIndexes` names the unique indexes that hold only some rows.
    static RowIdentity discover(const QSqlDatabase& database, SqlDialect dialect,
                                const QString& table, StatementWatchdog& watchdog,
                                const QStringList& filteredIndexes);

    // The Where condition that matches the row. Throws DatabaseError when the row lacks a
    // key column.
    QString conditionFor(const Row& row) const;

private:
    bool keyTellsRowApart(const QSqlRecord& record) const;
    QString matching(const Row& row, int index) const;

    QStringList keyColumns_; // empty: every column of the row
    // A unique index, unlike a primary key, lets any number of rows hold null in its columns.
    bool keyAllowsNulls_ = false;
    QString identifierQuote_;
    SqlDialect dialect_ = SqlDialect::sqlServer;
};
