#pragma once

class DailyLogs;
class NetworkPrinters;
class PosDatabase;

// Lists the store's network printers (rows of 주방프린터 whose port is neither a COM port nor
// "00000"), numbered in the order the rows come. A failure is written to the error log; the
// printers listed before it stay, and so does the one whose port would not convert.
void loadNetworkPrinters(PosDatabase& database, NetworkPrinters& printers, const DailyLogs& logs);
