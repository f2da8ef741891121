#pragma once

#include "layout_steps.h"
#include "serial_layout.h"

#include <QDateTime>
#include <QString>
#include <functional>

class DailyLogs;
class NetworkPrinters;
class Pauses;
class PosDatabase;
class Row;
class SerialPrinterPort;
struct PrinterCommands;

// The address under which a terminal's POS files jobs for the printer on its own serial port;
// such jobs are narrowed to the terminal's POS ID.
inline const QString loopbackAddress = QStringLiteral("127.0.0.1");

// What the printing steps work with; all of it belongs to the main window object.
struct PrintingContext {
    PosDatabase& database;
    SerialPrinterPort& serialPort;
    NetworkPrinters& networkPrinters;
    const PrinterCommands& commands;
    const DailyLogs& logs;
    Pauses& pauses;
    std::function<void(const QString&)> showMessage;
    std::function<QDateTime()> clock;
};

// The kitchen job run: takes the pending jobs of one printer address out of the job table in
// table order, prints each, logs order sheets and kitchen messages, and deletes each row once
// it is handled. A failure ends the run with the job still in the table, so it is printed
// again in full later.
class KitchenJobRun {
public:
    explicit KitchenJobRun(PrintingContext& context) : context_(context) {}

    // Printer number 0 prints through the terminal's serial port only; 1..N also sends
    // network jobs over that network printer's connected socket.
    void run(const QString& address, qint16 printerNumber);

private:
    void printJobs(const QString& address, qint16 printerNumber);
    QString selectionFor(const QString& address) const;
    JobExtras extrasFor(const Row& job);
    SheetSettings sheetSettings() const;
    void printOnSerialPort(const Row& job, const LayoutSteps& steps);
    void sendToNetworkPrinter(qint16 printerNumber, const LayoutSteps& steps);
    void handleFailure(std::int32_t number, const QString& description);

    PrintingContext& context_;
};
