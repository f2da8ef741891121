#pragma once

#include "network_printer_socket.h"

#include <QObject>
#include <QTimer>
#include <memory>
#include <vector>

// The sockets of the store's network printers, numbered 1..N in the order the printer rows
// came; the number is the printer number the job run passes around.
class NetworkPrinters : public QObject {
    Q_OBJECT

public:
    NetworkPrinters();

    // Adds element count() + 1.
    NetworkPrinterSocket& add();
    qint16 count() const { return static_cast<qint16>(sockets_.size()); }
    // Element 1..N. Throws std::out_of_range for any other number.
    NetworkPrinterSocket& at(qint16 number);

    // Connects the element to host and port and waits, letting the event loop run, until the
    // connection stands, the attempt ends, or the third tick of the one-second socket timer.
    // An element already connected, or an empty host, returns at once.
    void connectAndWait(NetworkPrinterSocket& socket, const QString& host, qint32 port);

private:
    std::vector<std::unique_ptr<NetworkPrinterSocket>> sockets_;
    QTimer socketTimer_;
    int socketTicks_ = 0;
};
