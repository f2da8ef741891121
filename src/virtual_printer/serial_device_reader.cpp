#include "serial_device_reader.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr int reopenDelayMs = 200;
constexpr qsizetype readChunk = 4096;
const QByteArray xon("\x11", 1);
const QByteArray xoff("\x13", 1);

// No echo, no line editing, no CR to LF translation, no flow control of its own: the bytes
// exactly as the writer sent them.
void makeRaw(int fd) {
    termios settings{};
    if (tcgetattr(fd, &settings) == 0) {
        cfmakeraw(&settings);
        tcsetattr(fd, TCSANOW, &settings);
    }
}

} // namespace

SerialDeviceReader::SerialDeviceReader(KitchenPrinter& printer, QString path, bool xonXoff,
                                       QObject* parent)
    : QObject(parent), printer_(printer), path_(std::move(path)), xonXoff_(xonXoff) {
    reopenTimer_.setSingleShot(true);
    reopenTimer_.setInterval(reopenDelayMs);
    connect(&reopenTimer_, &QTimer::timeout, this, &SerialDeviceReader::reopen);
    connect(&printer_, &KitchenPrinter::roomMade, this, &SerialDeviceReader::resumeReading);
    connect(&printer_, &KitchenPrinter::answer, this, &SerialDeviceReader::sendBack);
}

void SerialDeviceReader::start() {
    if (!open()) {
        throw std::runtime_error(QStringLiteral("cannot open %1: %2")
                                     .arg(path_, QString::fromLocal8Bit(std::strerror(errno)))
                                     .toStdString());
    }
}

// Answers go back only on a terminal: written into a FIFO they would come back as input.
bool SerialDeviceReader::open() {
    const int fd =
        ::open(path_.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    answersGoBack_ = isatty(fd) != 0;
    if (answersGoBack_) {
        makeRaw(fd);
    }
    device_.watch(fd, this, [this] { readAvailable(); });
    resumeReading();
    return true;
}

void SerialDeviceReader::readAvailable() {
    const qsizetype room = printer_.room();
    if (room == 0) {
        device_.setReading(false);
        return;
    }
    const ReadableDescriptor::Read read = device_.readAtMost(std::min(room, readChunk));
    if (read.ended) {
        closeAndReopenLater();
        return;
    }
    if (!read.bytes.isEmpty()) {
        printer_.receive(read.bytes);
        sendFlowControl();
    }
}

void SerialDeviceReader::closeAndReopenLater() {
    device_.close();
    printer_.hostGone();
    reopenTimer_.start();
}

void SerialDeviceReader::reopen() {
    if (!open()) {
        reopenTimer_.start();
    }
}

void SerialDeviceReader::resumeReading() {
    if (device_.isOpen() && printer_.room() > 0) {
        device_.setReading(true);
    }
    sendFlowControl();
}

void SerialDeviceReader::sendBack(const QByteArray& bytes) {
    if (device_.isOpen() && answersGoBack_) {
        device_.writeSome(bytes);
    }
}

// XOFF when the buffer is three quarters full, XON once it is down to a quarter. A printer
// without power says nothing; once it is back, an XON ends a stop it had asked for.
void SerialDeviceReader::sendFlowControl() {
    if (!xonXoff_ || !printer_.state().poweredOn) {
        return;
    }
    const qsizetype fill = printer_.buffered() * 4;
    if (!xoffSent_ && fill >= printer_.bufferSize() * 3) {
        xoffSent_ = true;
        sendBack(xoff);
    } else if (xoffSent_ && fill <= printer_.bufferSize()) {
        xoffSent_ = false;
        sendBack(xon);
    }
}
