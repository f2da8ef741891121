#include "row.h"

#include "database_error.h"

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
