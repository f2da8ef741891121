#pragma once

#include <QSqlRecord>
#include <QString>
#include <QVariant>
#include <vector>

// One row of a result set, read whole when the selection ran. Columns are looked up by name,
// ignoring letter case.
class Row {
public:
    explicit Row(const QSqlRecord& record) : record_(record) {}

    // Throws DatabaseError when the row has no such column.
    QVariant value(const QString& column) const;
    // The value as text; a null value reads as the empty text.
    QString text(const QString& column) const;
    // Every column with its name, type and value as read.
    const QSqlRecord& record() const { return record_; }

private:
    QSqlRecord record_;
};

using ResultSet = std::vector<Row>;
