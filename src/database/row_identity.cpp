#include "row_identity.h"

#include "database_error.h"
#include "odbc_catalog.h"
#include "sql_literals.h"

#include <QSqlRecord>
#include <algorithm>

RowIdentity RowIdentity::discover(const QSqlDatabase& database, SqlDialect dialect,
                                  const QString& table, StatementWatchdog& watchdog,
                                  const QStringList& filteredIndexes) {
    RowIdentity identity;
    identity.dialect_ = dialect;
    identity.identifierQuote_ = identifierQuote(database);
    identity.keyColumns_ = primaryKeyColumns(database, table, watchdog);
    if (identity.keyColumns_.isEmpty()) {
        identity.keyColumns_ = uniqueIndexColumns(database, table, watchdog, filteredIndexes);
        identity.keyAllowsNulls_ = true;
    }
    return identity;
}

// The driver reads date and time to the millisecond only: such a key alone could match a
// second row filed in the same millisecond, so the rest of the row must match as well. So must
// it where a unique index's column is null in the row: other rows may be null there too.
bool RowIdentity::keyTellsRowApart(const QSqlRecord& record) const {
    return std::none_of(keyColumns_.begin(), keyColumns_.end(), [&](const QString& column) {
        const QSqlField field = record.field(column);
        const int type = field.metaType().id();
        return type == QMetaType::QDateTime || type == QMetaType::QTime ||
               (keyAllowsNulls_ && field.isNull());
    });
}

QString RowIdentity::conditionFor(const Row& row) const {
    const QSqlRecord& record = row.record();
    QStringList conditions;
    if (keyColumns_.isEmpty() || !keyTellsRowApart(record)) {
        for (int i = 0; i < record.count(); ++i) {
            // Binary values have no literal every server reads alike.
            if (record.field(i).metaType().id() != QMetaType::QByteArray) {
                conditions << matching(row, i);
            }
        }
    }
    for (const QString& column : keyColumns_) {
        if (record.indexOf(column) < 0) {
            throw DatabaseError(DatabaseError::itemNotFound,
                                QStringLiteral("항목을 찾을 수 없습니다: %1").arg(column));
        }
    }
    if (conditions.isEmpty()) {
        for (const QString& column : keyColumns_) {
            conditions << matching(row, record.indexOf(column));
        }
    }
    return conditions.join(QStringLiteral(" and "));
}

QString RowIdentity::matching(const Row& row, int index) const {
    const QSqlField field = row.record().field(index);
    return matchingCondition(dialect_, identifierText(field.name(), identifierQuote_), field,
                             row.exactNumber(index));
}
