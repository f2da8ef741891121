#include "store_connection.h"

#include "daily_logs.h"
#include "pos_database.h"
#include "store_status.h"

bool connectToStore(PosDatabase& database, StoreStatus& status, const DailyLogs& logs) {
    if (database.connectDatabase()) {
        status.setDatabaseConnected();
        return true;
    }
    const QString reason = database.connectionFailure();
    if (status.databaseConnected() || status.databaseReason() != reason) {
        logs.writeErrorLog(QStringLiteral("connectDatabase"), reason);
    }
    status.setDatabaseLost(reason);
    return false;
}
