#pragma once

#include "host_link.h"
#include "kitchen_printer.h"
#include "readable_descriptor.h"

#include <QObject>
#include <QString>
#include <QTimer>

// A serial kitchen printer on a character device or pseudo-terminal, in raw mode, read while the
// printer's buffer has room; answers and flow control go back on the same line. The writer may
// open and close its end for every job: an end of input or an I/O error closes the device,
// which is opened again a moment later. With the power off, the line is read and thrown away.
class SerialDeviceReader : public QObject, public HostLink {
    Q_OBJECT

public:
    SerialDeviceReader(KitchenPrinter& printer, QString path, bool xonXoff,
                       QObject* parent = nullptr);

    // Throws std::runtime_error when the device cannot be opened the first time.
    void start();

    void powerOff() override {}
    void powerOn() override {}
    bool resetAfter(qint64 /*bytes*/) override { return false; }
    std::optional<qint64> pendingReset() const override { return std::nullopt; }
    int connections() const override { return 0; }

private:
    bool open();
    void readAvailable();
    void closeAndReopenLater();
    void reopen();
    void resumeReading();
    void sendBack(const QByteArray& bytes);
    void sendFlowControl();

    KitchenPrinter& printer_;
    QString path_;
    ReadableDescriptor device_;
    bool answersGoBack_ = false;
    bool xonXoff_;
    bool xoffSent_ = false;
    QTimer reopenTimer_;
};
