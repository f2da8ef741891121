#pragma once

class DailyLogs;
class PosDatabase;
class StoreStatus;

// Connects (again) to the store's database and tells the status list how it went; the error
// log hears the driver's reason once per trouble, not at every attempt of the retry loop.
bool connectToStore(PosDatabase& database, StoreStatus& status, const DailyLogs& logs);
