#pragma once

#include "printer_trouble.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// One printer this terminal prints to, as the operator and the technician see it.
struct PrinterHealth {
    QString name;                          // "COM1", "프린터 10.0.0.5:9100"
    std::optional<PrinterTrouble> trouble; // none: ready
    QString detail;                        // the failure as the error log has it
    QDateTime lastPrinted;
    int waitingJobs = 0;
    int printedToday = 0;       // on the day of lastPrinted
    QDateTime unreachableSince; // while no connection to the printer stands

    // The jobs printed on the day: none when the last one was printed on another.
    int printedOn(const QDate& day) const { return lastPrinted.date() == day ? printedToday : 0; }
};

// What is right and wrong in the store at this moment: the database connection, each printer,
// the logs. The printing steps and the start tell it what they find; the main window, the
// notification icon and the status page read it.
class StoreStatus {
public:
    enum class Severity { normal, warning, fault };

    void setDatabaseConnected();
    void setDatabaseLost(const QString& reason);
    // A printer is listed from the moment the program knows it prints to it.
    void addPrinter(const QString& name);
    void notePrinted(const QString& name, const QDateTime& at, bool paperNearEnd);
    void noteTrouble(const QString& name, PrinterTrouble trouble, const QString& detail);
    // No connection stands with a network printer since the given time.
    void noteUnreachable(const QString& name, const QDateTime& since, const QString& detail);
    // The printer said it can print; paper running low stays until a ticket tells otherwise.
    void noteReady(const QString& name);
    void setWaitingJobs(const QString& name, int jobs);
    // Empty once the logs are written again.
    void setLogProblem(const QString& problem);

    bool databaseConnected() const { return databaseConnected_; }
    const QString& databaseReason() const { return databaseReason_; }
    const QList<PrinterHealth>& printers() const { return printers_; }
    const QString& logProblem() const { return logProblem_; }

    Severity severity() const;
    // A printer near the end of its paper still prints: a warning; any other trouble a fault.
    static Severity severityOf(const PrinterHealth& printer);
    // One line per thing that is wrong, worst first, for the icon's tip and the balloon; the
    // same words for as long as the trouble lasts (the reasons are in the status list).
    QStringList problems() const;

private:
    PrinterHealth& printer(const QString& name);

    bool databaseConnected_ = false;
    QString databaseReason_;
    QList<PrinterHealth> printers_;
    QString logProblem_;
};

// The short word for a printer's state in the status list: "준비", "용지 부족", "용지 없음", ...
QString printerStateLabel(const PrinterHealth& printer);
