#pragma once

#include <QHash>
#include <QSqlRecord>
#include <QString>
#include <QVariant>
#include <vector>

// One row of a result set, read whole when the selection ran. Columns are looked up by name,
// ignoring letter case.
//
// Decimal and numeric values come from the driver as exact text (a double holds only 15 to 17
// digits, so two 17-digit order numbers could read alike): the row keeps that text for the
// conditions that name the row, and gives the value as a number, as the driver reads it
// otherwise, to everything else.
class Row {
public:
    explicit Row(const QSqlRecord& record);

    // Throws DatabaseError when the row has no such column.
    QVariant value(const QString& column) const;
    // The value as text; a null value reads as the empty text.
    QString text(const QString& column) const;
    // Every column with its name, type and value as read.
    const QSqlRecord& record() const { return record_; }
    // The exact text of a decimal or numeric column, by its position; empty for other columns
    // and for null.
    QString exactNumber(int index) const { return exactNumbers_.value(index); }

private:
    QSqlRecord record_;
    QHash<int, QString> exactNumbers_;
};

using ResultSet = std::vector<Row>;
