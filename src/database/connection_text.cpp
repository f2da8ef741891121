#include "connection_text.h"

QString connectionText(const QString& server, const QString& port, const QString& database,
                       const QString& user, const QString& password) {
    return QStringLiteral("DRIVER={SQL Server};") + QStringLiteral("SERVER=") + server + ',' +
           port + ';' + QStringLiteral("DATABASE=") + database + ';' + QStringLiteral("UID=") +
           user + ';' + QStringLiteral("PWD=") + password + ';';
}
