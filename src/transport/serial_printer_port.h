#pragma once

#include "serial_settings.h"

#include <QByteArray>
#include <QSerialPort>
#include <QString>

// The terminal's receipt printer on a serial port. Every use reconfigures it, opens it, writes,
// and closes it again; closing never loses a byte already written.
class SerialPrinterPort {
public:
    explicit SerialPrinterPort(QString programFolder);
    ~SerialPrinterPort();
    SerialPrinterPort(const SerialPrinterPort&) = delete;
    SerialPrinterPort& operator=(const SerialPrinterPort&) = delete;

    bool isOpen() const;
    // Writes out what is pending and lets the line drain before the port closes.
    void close();
    void setPortNumber(qint16 number);
    // Throws SerialPortError for a settings text the port cannot take.
    void setSettings(const QString& text);
    // Throws SerialPortError: 8002 for a port that does not exist, 8005 for one in use.
    void open();
    // Hands the bytes to the port without waiting for the printer. Throws SerialPortError.
    void write(const QByteArray& bytes);

private:
    QString programFolder_;
    QSerialPort port_;
    qint16 portNumber_ = 1;
    SerialSettings settings_;
};
