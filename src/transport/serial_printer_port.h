#pragma once

#include "printer_conversation.h"
#include "printer_link.h"
#include "serial_port_platform.h"
#include "serial_settings.h"

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>
#include <optional>

// The terminal's receipt printer on a serial port. Every use reconfigures it, opens it, asks
// the printer whether it can print, writes, waits until the printer says it printed, and closes
// it again. A printer that stops taking bytes or keeps reporting a stop fails the use within a
// bound; it never blocks the program for good.
class SerialPrinterPort : private PrinterLink {
public:
    explicit SerialPrinterPort(QString programFolder);
    ~SerialPrinterPort() override;
    SerialPrinterPort(const SerialPrinterPort&) = delete;
    SerialPrinterPort& operator=(const SerialPrinterPort&) = delete;

    bool isOpen() const { return handle_.has_value(); }
    void close();
    void setPortNumber(qint16 number);
    // Throws SerialPortError for a settings text the port cannot take.
    void setSettings(const QString& text);
    // Throws SerialPortError: 8002 for a port that does not exist, 8005 for one in use.
    void open();
    // Before a job: whether the printer answers (a printer that answered on this port before
    // must answer now), that it is not stopped and, once per run, whether it confirms printing.
    // Throws SerialPortError 8020 otherwise.
    PrinterCheck beginJob();
    // Hands the bytes to the port. Throws SerialPortError when the port fails or takes
    // nothing for a while, or when the printer holds its busy line and says it is stopped.
    void write(const QByteArray& bytes);
    // After a job's last byte: returns once the printer confirmed it printed everything, or,
    // for a printer that cannot confirm printing, once every byte left the line. Throws
    // SerialPortError otherwise, with what was still queued dropped; so does closing the port
    // after any use whose bytes were not all taken.
    PrintedJob finishJob(const PrinterCheck& check);
    // Returns once every byte written since open() has left the line.
    void waitUntilTaken();

private:
    void writeRequest(const QByteArray& request) override;
    void writeInTurn(const QByteArray& bytes) override;
    QByteArray readInput(int waitMs) override;
    void discardInput() override;
    qint64 heldBytes() override;
    bool printerBusy() override;
    bool heldBytesMayWait() override { return false; }
    bool printerGone(int /*silentMs*/) override { return false; }
    [[noreturn]] void fail(const QString& reason) override;

    serial_platform::Handle handle() const;
    void handOver(const QByteArray& bytes, bool obeyBusyLine);

    QString programFolder_;
    PrinterLimits limits_;
    qint16 portNumber_ = 1;
    SerialSettings settings_;
    std::optional<serial_platform::Handle> handle_;
    // Every byte written since open() was taken (or confirmed printed).
    bool allTaken_ = true;
    // The job's bytes written since open().
    qint64 written_ = 0;
    // What each port's printer told in this run; ports whose printer raised its ready line.
    QHash<qint16, PrinterFindings> findings_;
    QSet<qint16> portsSeenReady_;
};
