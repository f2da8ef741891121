#pragma once

#include "layout_steps.h"
#include "printer_link.h"
#include "serial_layout.h"

#include <QDateTime>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class DailyLogs;
class NetworkPrinters;
class Pauses;
class PosDatabase;
class RememberedRows;
class Row;
class SerialPrinterPort;
class StoreStatus;
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
    RememberedRows& rememberedRows;
    StoreStatus& status;
    Pauses& pauses;
    std::function<void(const QString&)> showMessage;
    std::function<QDateTime()> clock;
};

// The kitchen job run: takes the pending jobs of one printer address out of the job table in
// table order, prints each, logs order sheets and kitchen messages, and deletes each row once
// all its bytes reached the printer. A job that could not be printed stays in the table and
// is printed again in full later; one that reached the printer is never printed again, even
// when its row could not be deleted (the row is remembered, also across a restart).
class KitchenJobRun {
public:
    explicit KitchenJobRun(PrintingContext& context) : context_(context) {}

    // Printer number 0 prints through the terminal's serial port only; 1..N also sends
    // network jobs over that network printer's connected socket.
    void run(const QString& address, qint16 printerNumber);

private:
    // What one call learns as it goes through its rows.
    struct Pass {
        QStringList printedBefore;       // a row meeting one of these only has its deletion retried
        QSet<QString> failedPorts;       // serial ports that failed: their later jobs wait
        std::optional<QString> rowFault; // the first job whose own data could not be printed
        std::optional<QString> portNotice; // a serial printer's new trouble, shown at the end
        bool visitEnded = false;           // the network printer's connection was closed
        QHash<QString, int> waiting;       // per printer: jobs not printed (yet)
    };

    void printJobs(const QString& address, qint16 printerNumber);
    void handleRow(const Row& job, const QString& row, const QString& address, qint16 printerNumber,
                   Pass& pass);
    std::optional<QString> printLogEntryOf(const Row& job, Pass& pass);
    bool printJob(const Row& job, const QString& port, qint16 printerNumber,
                  const SheetSettings& sheet, JobExtras extras, Pass& pass);
    void printOrSend(const Row& job, const QString& port, qint16 printerNumber,
                     const SheetSettings& sheet, const JobExtras& extras);
    QString selectionFor(const QString& address) const;
    QString bottomMarginFor(const QString& kind) const;
    qint16 guestCountFor(const Row& job);
    SheetSettings sheetSettings() const;
    PrintedJob printOnSerialPort(const Row& job, const QString& portText, const LayoutSteps& steps);
    PrintedJob sendToNetworkPrinter(qint16 printerNumber, const LayoutSteps& steps);
    void notePrinted(const QString& printer, const PrintedJob& printed);
    void noteWaitingJobs(const QString& address, const QHash<QString, int>& waiting);
    QString printerOf(const QString& port, qint16 printerNumber);
    void deleteDelivered(const QString& address, const QString& row);
    void retryDeletion(const QString& address, const QString& row);
    void handleFailure(std::int32_t number, const QString& description);
    // True when the trouble is new: a new episode of it.
    bool logPrinterFault(const QString& printer, const QString& description);
    void reportUnconfirmed(const QString& printer, const PrinterCheck& check);
    QString networkPrinterName(qint16 printerNumber);

    PrintingContext& context_;
    // Per printer: the trouble last written to the error log, while it lasts.
    QHash<QString, QString> printerFaults_;
    QSet<QString> unconfirmedPrinters_;
    // Per address: the jobs left in the table after its latest run, per printer.
    QHash<QString, QHash<QString, int>> waitingJobs_;
};
