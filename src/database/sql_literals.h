#pragma once

#include "sql_dialect.h"

#include <QDateTime>
#include <QSqlField>
#include <QString>

// An identifier as it may stand in a statement: bare where it is a plain lower-case or Hangul
// name, else between the driver's identifier quotes.
QString identifierText(const QString& name, const QString& quote);

// A condition that holds for the field's value as it was read and for no other value the column
// can hold: "Is Null", a number as written, text between quotes (national text where code page
// 949 cannot hold it), a date and time by the range the stored value falls in once the server
// has rounded the literals to the column's own precision. A decimal or numeric value is matched
// by its exact text as the driver gave it (`exactNumber`), never through a double.
QString matchingCondition(SqlDialect dialect, const QString& column, const QSqlField& field,
                          const QString& exactNumber = {});

// Where SQL Server's stored date and time can lie, given the millisecond the driver read it to
// (Qt cuts the driver's fraction to whole milliseconds) and the column's decimal digits of
// seconds: 0 for smalldatetime (whole minutes), 3 for datetime (1/300 s, read within 1 ms of
// the stored value) and datetime2(3) (which the driver describes alike), n for datetime2(n).
struct StoredTimeRange {
    QDateTime from;
    bool fromIncluded = true;
    QDateTime to;
    bool toIncluded = true;
};
StoredTimeRange sqlServerStoredTimeRange(const QDateTime& read, int decimalDigits);
