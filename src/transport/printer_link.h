#pragma once

#include <QByteArray>
#include <QString>

// What a transport to a kitchen printer offers for talking with the printer between jobs.
class PrinterLink {
public:
    virtual ~PrinterLink() = default;

    virtual void writeRequest(const QByteArray& request) = 0;
    // What the printer sent, waiting at most the given time when nothing has come yet; pending
    // output keeps moving meanwhile.
    virtual QByteArray readInput(int waitMs) = 0;
    virtual void discardInput() = 0;
    // Bytes handed to the link that the printer has not yet taken; only what the program
    // itself holds when the system cannot tell.
    virtual qint64 heldBytes() = 0;
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
    // The printer answers status requests, so its own answer confirms each job.
    bool answers = false;
    // Without answers, the transport can still tell when every byte was taken.
    bool countsDelivery = true;
};
