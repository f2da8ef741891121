#include "tcp_printer_listener.h"

#include "listening_socket.h"

#include <sys/socket.h>

namespace {

// The status of a printer with nothing to report; the print server reads it away.
const QByteArray greeting("\x12", 1);
constexpr qsizetype readChunk = 4096;

} // namespace

TcpPrinterListener::TcpPrinterListener(KitchenPrinter& printer, const QHostAddress& address,
                                       quint16 port, int windowHoldSeconds, QObject* parent)
    : QObject(parent), printer_(printer), address_(address), port_(port) {
    windowHold_.setSingleShot(true);
    windowHold_.setInterval(windowHoldSeconds * 1000);
    connect(&windowHold_, &QTimer::timeout, this, &TcpPrinterListener::resumeReading);
    connect(&printer_, &KitchenPrinter::roomMade, this, &TcpPrinterListener::resumeReading);
    connect(&printer_, &KitchenPrinter::answer, this, [this](const QByteArray& bytes) {
        if (client_.isOpen()) {
            client_.writeSome(bytes);
        }
    });
}

void TcpPrinterListener::listen() {
    listener_.watch(openListeningSocket(address_, port_), this, [this] { takeClient(); });
}

void TcpPrinterListener::powerOff() {
    if (client_.isOpen()) {
        resetClient();
    }
    resetAfter_.reset();
    listener_.close();
}

bool TcpPrinterListener::resetAfter(qint64 bytes) {
    resetAfter_ = bytes;
    return true;
}

void TcpPrinterListener::takeClient() {
    const int fd = accept4(listener_.fd(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) {
        return;
    }
    ++connections_;
    listener_.setReading(false);
    client_.watch(fd, this, [this] { readClient(); });
    client_.writeSome(greeting);
}

// A reset that waits for n more bytes reads no further than the nth.
void TcpPrinterListener::readClient() {
    qsizetype most = std::min(printer_.room(), readChunk);
    if (resetAfter_ && *resetAfter_ > 0) {
        most = std::min(most, static_cast<qsizetype>(*resetAfter_));
    }
    if (most == 0) {
        client_.setReading(false);
        if (windowHold_.interval() > 0 && printer_.room() == 0) {
            windowHold_.start();
        }
        return;
    }
    const ReadableDescriptor::Read read = client_.readAtMost(most);
    if (read.ended) {
        endClient();
        return;
    }
    if (!read.bytes.isEmpty()) {
        printer_.receive(read.bytes);
        if (resetDue(read.bytes.size())) {
            resetClient();
        }
    }
}

bool TcpPrinterListener::resetDue(qint64 count) {
    if (!resetAfter_) {
        return false;
    }
    *resetAfter_ -= count;
    if (*resetAfter_ > 0) {
        return false;
    }
    resetAfter_.reset();
    return true;
}

// Whether the client closed or reset the connection, what the buffer holds prints on.
void TcpPrinterListener::endClient() {
    windowHold_.stop();
    client_.close();
    printer_.hostGone();
    listener_.setReading(true);
}

void TcpPrinterListener::resetClient() {
    const linger abort{1, 0};
    setsockopt(client_.fd(), SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
    endClient();
}

void TcpPrinterListener::resumeReading() {
    if (client_.isOpen() && printer_.room() > 0 && !windowHold_.isActive()) {
        client_.setReading(true);
    }
}
