#pragma once

#include "network_printers.h"
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
    // answered before must answer now), and that it is not stopped. Throws NetworkPrinterError
    // otherwise.
    PrinterCheck beginJob();
    // Throws NetworkPrinterError when the connection is gone.
    void send(const QByteArray& bytes);
    // After a job's last byte: returns once the printer confirmed it printed everything, or,
    // for a printer that cannot be asked, once it acknowledged every byte. Otherwise the
    // connection is reset and NetworkPrinterError is thrown.
    PrintedJob finishJob(const PrinterCheck& check);
    // Delivers everything sent so far before the connection ends.
    void close();

private:
    void writeRequest(const QByteArray& request) override;
    QByteArray readInput(int waitMs) override;
    void discardInput() override;
    qint64 heldBytes() override;
    [[noreturn]] void fail(const QString& reason) override;

    bool countsHeldBytes() const;
    void readAwayAndDisconnect();
    std::int64_t unacknowledgedBytes() const;

    QTcpSocket socket_;
    NetworkPrinterAddress printer_;
    // Bytes handed to Qt on this connection, and whether the printer was asked yet.
    qint64 written_ = 0;
    bool probed_ = false;
    bool answers_ = false;
    bool answeredBefore_ = false;
};
