#pragma once

#include <QSqlField>
#include <QString>

// An identifier as it may stand in a statement: bare where it is a plain lower-case or Hangul
// name, else between the driver's identifier quotes.
QString identifierText(const QString& name, const QString& quote);

// A condition that holds exactly for the field's value as it was read: "Is Null", a number as
// written, text between quotes (national text where code page 949 cannot hold it), a date and
// time as the millisecond it was read in (the driver reads no finer), long text through Like.
QString matchingCondition(const QString& column, const QSqlField& field);
