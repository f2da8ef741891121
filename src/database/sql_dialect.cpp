#include "sql_dialect.h"

#include <QSqlDriver>

SqlDialect dialectOf(const QSqlDatabase& database) {
    return database.driver()->dbmsType() == QSqlDriver::PostgreSQL ? SqlDialect::postgreSql
                                                                   : SqlDialect::sqlServer;
}

QString deleteOneRowStatement(SqlDialect dialect, const QString& table, const QString& condition) {
    if (dialect == SqlDialect::sqlServer) {
        return QStringLiteral("Delete Top (1) From %1 Where %2").arg(table, condition);
    }
    return QStringLiteral("Delete From %1 Where ctid = (Select ctid From %1 Where %2 Limit 1)")
        .arg(table, condition);
}
