#pragma once

#include "host_link.h"
#include "kitchen_printer.h"
#include "readable_descriptor.h"

#include <QHostAddress>
#include <QObject>
#include <QTimer>

// A network kitchen printer: one client at a time, greeted with a status byte as real printers
// report their state, and read while the printer's buffer has room until the client closes or
// resets. Later clients wait in the listen queue; with the power off, connections are refused.
// With a window hold, a full buffer stops reading for that long however soon printing makes
// room, as a jammed impact printer takes more only now and then.
class TcpPrinterListener : public QObject, public HostLink {
    Q_OBJECT

public:
    TcpPrinterListener(KitchenPrinter& printer, const QHostAddress& address, quint16 port,
                       int windowHoldSeconds = 0, QObject* parent = nullptr);

    // Throws std::runtime_error when the address cannot be taken.
    void listen();

    void powerOff() override;
    void powerOn() override { listen(); }
    bool resetAfter(qint64 bytes) override;
    std::optional<qint64> pendingReset() const override { return resetAfter_; }
    int connections() const override { return connections_; }

private:
    void takeClient();
    void readClient();
    bool resetDue(qint64 count);
    void endClient();
    void resetClient();
    void resumeReading();

    KitchenPrinter& printer_;
    QHostAddress address_;
    quint16 port_;
    ReadableDescriptor listener_;
    ReadableDescriptor client_;
    int connections_ = 0;
    std::optional<qint64> resetAfter_;
    QTimer windowHold_;
};
