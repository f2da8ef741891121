#pragma once

#include "network_printers.h"
#include "printer_conversation.h"
#include "printer_link.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTcpSocket>
#include <cstdint>

// The TCP connection to one network kitchen printer, made when the printer has work and closed
// again once it has none. The printer dropping the connection, or any socket error, closes it;
// a job that fails resets it, so that nothing of the job arrives later. Blocking: it is used
// only by the thread that created it.
class NetworkPrinterSocket : public QObject, private PrinterLink {
    Q_OBJECT

public:
    explicit NetworkPrinterSocket(NetworkPrinterAddress printer);

    bool isConnected() const;
    // Connects to the printer unless connected; false when no connection stands within the
    // time (a printer switched off, an address nobody answers).
    bool connectWithin(int waitMs);
    // The descriptor of the connection, -1 when there is none.
    std::intptr_t descriptor() const;
    // Before a job: whether the printer answers (asked once per connection; a printer that
    // answered before must answer now), that it is not stopped and, once per run, whether it
    // confirms printing. Throws NetworkPrinterError otherwise.
    PrinterCheck beginJob();
    // Throws NetworkPrinterError when the connection is gone.
    void send(const QByteArray& bytes);
    // After a job's last byte: returns once the printer confirmed it printed everything, or,
    // for a printer that cannot confirm printing, once it acknowledged every byte (where the
    // system cannot count them, once it answered a status request sent behind the job). A
    // printer whose window stays closed is waited for while the system's probes find it there.
    // Otherwise the connection is reset and NetworkPrinterError is thrown.
    PrintedJob finishJob(const PrinterCheck& check);
    // Delivers everything sent so far before the connection ends.
    void close();

private:
    void writeRequest(const QByteArray& request) override { send(request); }
    void writeInTurn(const QByteArray& bytes) override { send(bytes); }
    QByteArray readInput(int waitMs) override;
    void discardInput() override;
    qint64 heldBytes() override;
    bool printerBusy() override { return false; }
    bool heldBytesMayWait() override { return true; }
    bool printerGone(int silentMs) override;
    [[noreturn]] void fail(const QString& reason) override;

    bool countsHeldBytes() const;
    void readAwayAndDisconnect();
    std::int64_t unacknowledgedBytes() const;

    QTcpSocket socket_;
    NetworkPrinterAddress printer_;
    PrinterLimits limits_;
    // Bytes handed to Qt on this connection and in the current job, and whether the printer was
    // asked yet.
    qint64 written_ = 0;
    qint64 jobBytes_ = 0;
    bool probed_ = false;
    bool answers_ = false;
    // What the printer told in this run.
    PrinterFindings findings_;
};
