#pragma once

#include "row.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// How one row of a table is told apart from the others in a Delete: by the columns of the
// table's primary key, else of a unique index, else (and for a key the driver reads only to the
// millisecond) by every column of the row as read: two rows equal in every column are the same
// ticket filed twice, and go together.
class RowIdentity {
public:
    // Asks the driver once, when the connection opens, so that a table whose key cannot be
    // found never makes a ticket print before its deletion is known to be possible.
    static RowIdentity discover(const QSqlDatabase& database, const QString& table);

    // The Where condition that matches the row. Throws DatabaseError when the row lacks a
    // key column.
    QString conditionFor(const Row& row) const;

private:
    bool keyReadCoarsely(const QSqlRecord& record) const;
    QString matching(const QSqlField& field) const;

    QStringList keyColumns_; // empty: every column of the row
    QString identifierQuote_;
};
