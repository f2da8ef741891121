#pragma once

class DailyLogs;
class NetworkPrinters;
class PosDatabase;

// Creates one socket per network printer of the store (rows of 주방프린터 whose port is neither
// a COM port nor "00000"), numbered in the order the rows come. A failure is written to the
// error log; the sockets made before it stay.
void createNetworkPrinterSockets(PosDatabase& database, NetworkPrinters& printers,
                                 const DailyLogs& logs);
