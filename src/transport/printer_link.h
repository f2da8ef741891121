#pragma once

#include <QByteArray>
#include <QString>

// What a transport to a kitchen printer offers for talking with the printer between jobs.
class PrinterLink {
public:
    virtual ~PrinterLink() = default;

    // A status request (DLE EOT), which the printer answers the moment it reads it: it goes out
    // even while the printer holds its busy line.
    virtual void writeRequest(const QByteArray& request) = 0;
    // Bytes that wait their turn behind the job's (GS r): they go as the job's own do.
    virtual void writeInTurn(const QByteArray& bytes) = 0;
    // What the printer sent, waiting at most the given time when nothing has come yet; pending
    // output keeps moving meanwhile.
    virtual QByteArray readInput(int waitMs) = 0;
    virtual void discardInput() = 0;
    // Bytes handed to the link that the printer has not yet taken; only what the program
    // itself holds when the system cannot tell.
    virtual qint64 heldBytes() = 0;
    // Whether the printer holds its busy line (a serial printer's CTS or DSR).
    virtual bool printerBusy() = 0;
    // Whether bytes that do not move are no stall while the transport says the printer is
    // there: a network printer with a full buffer keeps its TCP window closed for as long as it
    // needs, and the system's window probes find out whether it is still there.
    virtual bool heldBytesMayWait() = 0;
    // Whether the printer has left the system's probes or retransmissions unanswered for at
    // least the given time; false where the transport cannot tell.
    virtual bool printerGone(int silentMs) = 0;
    // Withdraws what the printer has not taken and throws the transport's own error.
    [[noreturn]] virtual void fail(const QString& reason) = 0;

protected:
    PrinterLink() = default;
    PrinterLink(const PrinterLink&) = default;
    PrinterLink& operator=(const PrinterLink&) = default;
};

// What the printer said of itself as it confirmed a job.
struct PrintedJob {
    bool paperNearEnd = false;
};

// What the program learned of a printer before a job.
struct PrinterCheck {
    // The printer confirms each job with its own answer (GS r).
    bool answers = false;
    // Without that answer, the transport (or the printer's answer to a status request sent
    // behind the job) can still tell when every byte was taken.
    bool countsDelivery = true;
    // The printer answers status requests (DLE EOT), so its stops are known before each job,
    // even when it cannot confirm printing (answers false).
    bool answersStatus = false;
};
