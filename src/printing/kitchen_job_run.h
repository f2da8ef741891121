#pragma once

#include "lane_job.h"
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
class PosDatabase;
class PrinterLanes;
class PrinterReach;
class RememberedRows;
class Row;
class StoreStatus;
struct NetworkPrinterAddress;
struct PrinterCommands;

// The address under which a terminal's POS files jobs for the printer on its own serial port;
// such jobs are narrowed to the terminal's POS ID.
inline const QString loopbackAddress = QStringLiteral("127.0.0.1");

// What the printing steps work with; all of it belongs to the main window object and is used
// on the user-interface thread only.
struct PrintingContext {
    PosDatabase& database;
    PrinterLanes& lanes;
    const NetworkPrinters& networkPrinters;
    const PrinterCommands& commands;
    const DailyLogs& logs;
    RememberedRows& rememberedRows;
    StoreStatus& status;
    std::function<void(const QString&)> showMessage;
    std::function<QDateTime()> clock;
};

// The kitchen job run: takes the pending jobs of one printer address out of the job table in
// table order and hands each to its printer's lane; once the lane says the printer printed it,
// logs order sheets and kitchen messages and deletes the row. A job stays in the table until
// then, and is not handed again while a lane holds it. A job that could not be printed stays
// and is printed again in full later; one that reached the paper is never printed again, even
// when its row could not be deleted (the row is remembered, also across a restart).
class KitchenJobRun {
public:
    KitchenJobRun(PrintingContext& context, PrinterReach& reach)
        : context_(context), reach_(reach) {}

    // Printer number 0 prints through the terminal's serial ports only; 1..N also sends
    // network jobs to that network printer.
    void run(const QString& address, qint16 printerNumber);
    // An idle network printer is asked its state, so that its trouble shows before a ticket.
    void checkState(qint16 printerNumber);
    // What waits for a network printer that this tick does not visit.
    void noteWaitingJobs(const QString& address, const QString& printer, int jobs);

private:
    // What one call learns as it goes through its rows.
    struct Pass {
        QStringList printedBefore;       // a row meeting one of these only has its deletion retried
        QHash<QString, int> held;        // rows a lane holds: not handed again
        std::optional<QString> rowFault; // the first job whose own data could not be printed
        QHash<QString, int> waiting;     // per printer: jobs not printed (yet)
    };
    // One job handed to a lane, as its outcome needs it.
    struct HandedJob {
        QString address;
        QString row;
        QString printer;
        std::optional<QString> logEntry;
    };

    void handJobs(const QString& address, qint16 printerNumber);
    void handleRow(const Row& job, const QString& row, const QString& address, qint16 printerNumber,
                   Pass& pass);
    std::optional<QString> printLogEntryOf(const Row& job, Pass& pass);
    void handJob(const Row& job, const QString& port, qint16 printerNumber, const HandedJob& handed,
                 Pass& pass);
    LaneJob laneJobFor(LayoutSteps steps, const QString& serialSettings, HandedJob handed);
    void finishJob(const HandedJob& handed, const LaneOutcome& outcome);
    void finishPrinted(const HandedJob& handed, const LaneOutcome& outcome);
    void reportFailure(const QString& printer, const LaneOutcome& outcome);
    void reportUnreachable(const QString& printer, const QString& description);
    void finishStateCheck(const QString& printer, const LaneOutcome& outcome);
    QString selectionFor(const QString& address) const;
    QString bottomMarginFor(const QString& kind) const;
    qint16 guestCountFor(const Row& job);
    SheetSettings sheetSettings() const;
    QString printerOf(const QString& port, qint16 printerNumber) const;
    void publishWaitingJobs();
    void deleteDelivered(const QString& address, const QString& row);
    void retryDeletion(const QString& address, const QString& row);
    void handleFailure(std::int32_t number, const QString& description);
    // True when the trouble is new: a new episode of it.
    bool logPrinterFault(const QString& printer, const QString& description);
    void reportUnconfirmed(const QString& printer, const PrinterCheck& check);
    const NetworkPrinterAddress& networkPrinter(qint16 printerNumber) const;

    PrintingContext& context_;
    PrinterReach& reach_;
    // Per printer: the trouble last written to the error log, while it lasts.
    QHash<QString, QString> printerFaults_;
    QSet<QString> unconfirmedPrinters_;
    // Rows handed to a lane and not yet finished, once per row handed.
    QHash<QString, int> held_;
    // Per address: the jobs left in the table after its latest run, per printer.
    QHash<QString, QHash<QString, int>> waitingJobs_;
};
