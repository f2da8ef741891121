#include "serial_printer_port.h"

#include "serial_port_error.h"
#include "serial_port_platform.h"

namespace {

// Long enough for a whole order sheet at 9600 baud.
constexpr int writeOutTimeoutMs = 10000;

std::int32_t openErrorNumber(QSerialPort::SerialPortError error) {
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return SerialPortError::invalidPortNumber;
    case QSerialPort::PermissionError:
    case QSerialPort::OpenError:
        return SerialPortError::portAlreadyOpen;
    default:
        return SerialPortError::deviceUnavailable;
    }
}

} // namespace

SerialPrinterPort::SerialPrinterPort(QString programFolder)
    : programFolder_(std::move(programFolder)) {}

SerialPrinterPort::~SerialPrinterPort() {
    close();
}

bool SerialPrinterPort::isOpen() const {
    return port_.isOpen();
}

// QSerialPort drops its buffer on close(), so the buffer is written out and the line drained.
void SerialPrinterPort::close() {
    if (!port_.isOpen()) {
        return;
    }
    while (port_.bytesToWrite() > 0 && port_.waitForBytesWritten(writeOutTimeoutMs)) {
    }
    serial_platform::drainOutput(static_cast<std::intptr_t>(port_.handle()));
    port_.close();
}

void SerialPrinterPort::setPortNumber(qint16 number) {
    portNumber_ = number;
}

void SerialPrinterPort::setSettings(const QString& text) {
    settings_ = parseSerialSettings(text);
}

void SerialPrinterPort::open() {
    if (port_.isOpen()) {
        throw SerialPortError(SerialPortError::portAlreadyOpen,
                              QStringLiteral("포트가 이미 열려 있습니다 (COM%1)").arg(portNumber_));
    }
    port_.setPortName(QString::fromStdString(
        serial_platform::portLocation(portNumber_, programFolder_.toStdString())));
    port_.setBaudRate(settings_.baudRate);
    port_.setParity(settings_.parity);
    port_.setDataBits(settings_.dataBits);
    port_.setStopBits(settings_.stopBits);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    if (!port_.open(QIODevice::WriteOnly)) {
        throw SerialPortError(
            openErrorNumber(port_.error()),
            QStringLiteral("COM%1: %2").arg(portNumber_).arg(port_.errorString()));
    }
}

void SerialPrinterPort::write(const QByteArray& bytes) {
    if (port_.write(bytes) != bytes.size()) {
        throw SerialPortError(
            SerialPortError::deviceUnavailable,
            QStringLiteral("COM%1: %2").arg(portNumber_).arg(port_.errorString()));
    }
    port_.flush();
}
