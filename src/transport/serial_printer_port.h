#pragma once

#include "serial_port_platform.h"
#include "serial_settings.h"

#include <QByteArray>
#include <QString>
#include <optional>

// The terminal's receipt printer on a serial port. Every use reconfigures it, opens it, writes,
// waits until the bytes have left, and closes it again. A printer that stops taking bytes
// fails the use within a bound; it never blocks the program for good.
class SerialPrinterPort {
public:
    explicit SerialPrinterPort(QString programFolder);
    ~SerialPrinterPort();
    SerialPrinterPort(const SerialPrinterPort&) = delete;
    SerialPrinterPort& operator=(const SerialPrinterPort&) = delete;

    bool isOpen() const { return handle_.has_value(); }
    void close();
    void setPortNumber(qint16 number);
    // Throws SerialPortError for a settings text the port cannot take.
    void setSettings(const QString& text);
    // Throws SerialPortError: 8002 for a port that does not exist, 8005 for one in use.
    void open();
    // Hands the bytes to the port. Throws SerialPortError when the port fails or takes
    // nothing for a while.
    void write(const QByteArray& bytes);
    // Returns once every byte written since open() has left the line. Throws SerialPortError
    // when the port fails or does not get them out in time.
    void waitUntilSent();

private:
    serial_platform::Handle handle() const;
    [[noreturn]] void failStalled() const;
    int lineTimeMs(qint64 bytes) const;

    QString programFolder_;
    qint16 portNumber_ = 1;
    SerialSettings settings_;
    std::optional<serial_platform::Handle> handle_;
};
