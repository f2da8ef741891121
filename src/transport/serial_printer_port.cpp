#include "serial_printer_port.h"

#include "serial_port_error.h"

#include <QDeadlineTimer>
#include <QThread>

namespace {

// A printer that takes no byte for this long is out of paper, off or unplugged.
constexpr int stallLimitMs = 3000;
constexpr int pollMs = 10;
// Start, data, parity and stop bits of one character, rounded up.
constexpr int bitsPerCharacter = 12;

} // namespace

SerialPrinterPort::SerialPrinterPort(QString programFolder)
    : programFolder_(std::move(programFolder)) {}

SerialPrinterPort::~SerialPrinterPort() {
    close();
}

void SerialPrinterPort::close() {
    if (handle_) {
        serial_platform::closePort(*handle_);
        handle_.reset();
    }
}

void SerialPrinterPort::setPortNumber(qint16 number) {
    portNumber_ = number;
}

void SerialPrinterPort::setSettings(const QString& text) {
    settings_ = parseSerialSettings(text);
}

void SerialPrinterPort::open() {
    if (handle_) {
        throw SerialPortError(SerialPortError::portAlreadyOpen,
                              QStringLiteral("포트가 이미 열려 있습니다 (COM%1)").arg(portNumber_));
    }
    try {
        handle_ = serial_platform::openPort(
            serial_platform::portLocation(portNumber_, programFolder_.toStdString()), settings_);
    } catch (const SerialPortError& error) {
        throw SerialPortError(
            error.number(), QStringLiteral("COM%1: %2").arg(portNumber_).arg(error.description()));
    }
}

void SerialPrinterPort::write(const QByteArray& bytes) {
    qint64 done = 0;
    QDeadlineTimer stall(stallLimitMs);
    while (done < bytes.size()) {
        const qint64 taken =
            serial_platform::writeSome(handle(), bytes.constData() + done, bytes.size() - done);
        if (taken > 0) {
            done += taken;
            stall.setRemainingTime(stallLimitMs);
        } else if (stall.hasExpired()) {
            failStalled();
        } else {
            serial_platform::waitWritable(handle(), pollMs);
        }
    }
}

// Bounded by the line time of what is still queued, so that a port that never drains (a
// printer holding the line) cannot keep the program waiting.
void SerialPrinterPort::waitUntilSent() {
    qint64 unsent = serial_platform::unsentBytes(handle());
    const QDeadlineTimer deadline(stallLimitMs + 2 * lineTimeMs(unsent));
    while (unsent > 0) {
        if (deadline.hasExpired()) {
            failStalled();
        }
        QThread::msleep(pollMs);
        unsent = serial_platform::unsentBytes(handle());
    }
}

serial_platform::Handle SerialPrinterPort::handle() const {
    if (!handle_) {
        throw SerialPortError(SerialPortError::deviceUnavailable,
                              QStringLiteral("COM%1: 포트가 열려 있지 않습니다").arg(portNumber_));
    }
    return *handle_;
}

int SerialPrinterPort::lineTimeMs(qint64 bytes) const {
    return static_cast<int>(bytes * bitsPerCharacter * 1000 / settings_.baudRate);
}

void SerialPrinterPort::failStalled() const {
    throw SerialPortError(SerialPortError::printerNotTaking,
                          QStringLiteral("COM%1: 프린터가 출력을 받지 않습니다").arg(portNumber_));
}
