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

QString filteredIndexesStatement(SqlDialect dialect, const QString& table) {
    if (dialect == SqlDialect::sqlServer) {
        return QStringLiteral("Select name From sys.indexes Where object_id = Object_Id(N'%1') "
                              "and is_unique = 1 and has_filter = 1")
            .arg(table);
    }
    return QStringLiteral("Select c.relname As name From pg_index x Join pg_class c On c.oid = "
                          "x.indexrelid Where x.indrelid = '%1'::regclass and x.indisunique and "
                          "x.indpred Is Not Null")
        .arg(table);
}
