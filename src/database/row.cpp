#include "row.h"

#include "database_error.h"

#include <QSqlField>
#include <sqlext.h>

Row::Row(const QSqlRecord& record) : record_(record) {
    for (int i = 0; i < record_.count(); ++i) {
        const QSqlField field = record_.field(i);
        if (field.isNull() || field.metaType().id() != QMetaType::Double ||
            field.value().metaType().id() != QMetaType::QString) {
            continue;
        }
        const QString text = field.value().toString().trimmed();
        if (field.typeID() == SQL_NUMERIC || field.typeID() == SQL_DECIMAL) {
            exactNumbers_.insert(i, text);
        }
        record_.setValue(i, text.toDouble());
    }
}

QVariant Row::value(const QString& column) const {
    const int index = record_.indexOf(column);
    if (index < 0) {
        throw DatabaseError(DatabaseError::itemNotFound,
                            QStringLiteral("항목을 찾을 수 없습니다: %1").arg(column));
    }
    return record_.value(index);
}

QString Row::text(const QString& column) const {
    const QVariant found = value(column);
    return found.isNull() ? QString() : found.toString();
}
