#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

// What Qt's error objects do not tell: the SQLSTATE of a failed statement and whether the
// driver considers the connection dead.
QString sqlStateOf(const QSqlQuery& query);
bool isConnectionDead(const QSqlDatabase& database);
