#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// What the driver's catalog tells about a table beyond Qt's primary index.

// The columns of the table's first unique index, in index order; empty when it has none or
// the driver cannot tell.
QStringList uniqueIndexColumns(const QSqlDatabase& database, const QString& table);

// The character the driver quotes identifiers with; empty when it has none.
QString identifierQuote(const QSqlDatabase& database);
