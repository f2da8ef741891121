#include "serial_printer_port.h"

#include "printer_trouble.h"
#include "serial_port_error.h"

#include <QDeadlineTimer>
#include <array>

namespace {

constexpr int writePollMs = 10;
constexpr qint64 readChunk = 256;

} // namespace

SerialPrinterPort::SerialPrinterPort(QString programFolder)
    : programFolder_(std::move(programFolder)) {}

SerialPrinterPort::~SerialPrinterPort() {
    close();
}

// A use that did not see its bytes taken failed: its job is printed again in full, and what
// the port still holds is dropped so that closing never waits for the driver's closing time.
void SerialPrinterPort::close() {
    if (handle_) {
        if (!allTaken_) {
            serial_platform::discardOutput(*handle_);
        }
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
    allTaken_ = true;
    written_ = 0;
    try {
        handle_ = serial_platform::openPort(
            serial_platform::portLocation(portNumber_, programFolder_.toStdString()), settings_);
    } catch (const SerialPortError& error) {
        throw SerialPortError(
            error.number(), QStringLiteral("COM%1: %2").arg(portNumber_).arg(error.description()));
    }
}

PrinterCheck SerialPrinterPort::beginJob() {
    PrinterFindings& findings = findings_[portNumber_];
    PrinterConversation conversation(*this, limits_);
    return conversation.probe(findings) ? conversation.checkReady(findings) : PrinterCheck{};
}

void SerialPrinterPort::write(const QByteArray& bytes) {
    written_ += bytes.size();
    writeInTurn(bytes);
}

void SerialPrinterPort::writeInTurn(const QByteArray& bytes) {
    allTaken_ = false;
    handOver(bytes, true);
}

// A status request goes even while the printer holds its busy line: its answer tells why.
void SerialPrinterPort::writeRequest(const QByteArray& request) {
    handOver(request, false);
}

void SerialPrinterPort::handOver(const QByteArray& bytes, bool obeyBusyLine) {
    qint64 done = 0;
    QDeadlineTimer stall(limits_.stallMs);
    while (done < bytes.size()) {
        if (obeyBusyLine && printerBusy()) {
            PrinterConversation(*this, limits_)
                .waitWhileBusy(findings_.value(portNumber_).answered);
            stall.setRemainingTime(limits_.stallMs);
            continue;
        }
        const qint64 taken =
            serial_platform::writeSome(handle(), bytes.constData() + done, bytes.size() - done);
        if (taken > 0) {
            done += taken;
            stall.setRemainingTime(limits_.stallMs);
        } else if (stall.hasExpired()) {
            fail(troubleDescription(PrinterTrouble::notTaking));
        } else {
            serial_platform::waitWritable(handle(), writePollMs);
        }
    }
}

PrintedJob SerialPrinterPort::finishJob(const PrinterCheck& check) {
    if (check.answers) {
        const PrintedJob printed = PrinterConversation(*this, limits_).confirmPrinted(written_);
        allTaken_ = true;
        return printed;
    }
    waitUntilTaken();
    return {};
}

void SerialPrinterPort::waitUntilTaken() {
    PrinterConversation(*this, limits_).waitUntilTaken(written_);
    allTaken_ = true;
}

// A printer that drives its ready line low while busy is obeyed, once it was seen raising it;
// a cable that carries no such line must not keep the port from printing.
bool SerialPrinterPort::printerBusy() {
    const std::optional<bool> ready = serial_platform::readyLine(handle());
    if (!ready) {
        return false;
    }
    if (*ready) {
        portsSeenReady_.insert(portNumber_);
        return false;
    }
    return portsSeenReady_.contains(portNumber_);
}

QByteArray SerialPrinterPort::readInput(int waitMs) {
    std::array<char, readChunk> buffer{};
    qint64 count = serial_platform::readSome(handle(), buffer.data(), readChunk);
    if (count == 0 && waitMs > 0) {
        serial_platform::waitReadable(handle(), waitMs);
        count = serial_platform::readSome(handle(), buffer.data(), readChunk);
    }
    return QByteArray(buffer.data(), count);
}

void SerialPrinterPort::discardInput() {
    serial_platform::discardInput(handle());
}

qint64 SerialPrinterPort::heldBytes() {
    return serial_platform::unsentBytes(handle());
}

void SerialPrinterPort::fail(const QString& reason) {
    if (handle_) {
        serial_platform::discardOutput(*handle_);
    }
    throw SerialPortError(SerialPortError::printerNotTaking,
                          QStringLiteral("COM%1: %2").arg(portNumber_).arg(reason));
}

serial_platform::Handle SerialPrinterPort::handle() const {
    if (!handle_) {
        throw SerialPortError(SerialPortError::deviceUnavailable,
                              QStringLiteral("COM%1: 포트가 열려 있지 않습니다").arg(portNumber_));
    }
    return *handle_;
}
