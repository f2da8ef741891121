#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <sql.h>

// What Qt's error objects do not tell: the SQLSTATE of a failed statement, whether it means
// the connection is lost, and whether the driver considers the connection dead.
QString sqlStateOf(const QSqlQuery& query);
QString sqlStateOf(SQLHSTMT statement);
bool isLostConnectionState(const QString& sqlState);
bool isConnectionDead(const QSqlDatabase& database);
