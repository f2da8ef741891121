#include "network_printer_socket.h"

#include "network_printer_error.h"
#include "socket_platform.h"

#include <QDeadlineTimer>
#include <algorithm>

namespace {

constexpr int writeOutTimeoutMs = 3000;
// How long a printer may take to close its side after ours is shut.
constexpr int peerCloseBoundMs = 500;
constexpr int greetingMs = 20;

} // namespace

NetworkPrinterSocket::NetworkPrinterSocket(NetworkPrinterAddress printer)
    : printer_(std::move(printer)) {
    const auto closeElement = [this] {
        if (socket_.state() != QAbstractSocket::UnconnectedState) {
            socket_.abort();
        }
    };
    connect(&socket_, &QTcpSocket::disconnected, this, closeElement);
    // A wait of ours that ran out is reported as an error too; the connection itself is fine.
    connect(&socket_, &QTcpSocket::errorOccurred, this,
            [closeElement](QAbstractSocket::SocketError error) {
                if (error != QAbstractSocket::SocketTimeoutError) {
                    closeElement();
                }
            });
}

bool NetworkPrinterSocket::isConnected() const {
    return socket_.state() == QAbstractSocket::ConnectedState;
}

bool NetworkPrinterSocket::connectWithin(int waitMs) {
    if (isConnected()) {
        return true;
    }
    socket_.abort();
    written_ = 0;
    probed_ = false;
    if (printer_.host.trimmed().isEmpty()) {
        return false;
    }
    socket_.connectToHost(printer_.host, static_cast<quint16>(printer_.port));
    if (!socket_.waitForConnected(waitMs)) {
        socket_.abort();
        return false;
    }
    return true;
}

std::intptr_t NetworkPrinterSocket::descriptor() const {
    return isConnected() ? static_cast<std::intptr_t>(socket_.socketDescriptor()) : -1;
}

PrinterCheck NetworkPrinterSocket::beginJob() {
    PrinterConversation conversation(*this, limits_);
    if (!probed_) {
        probed_ = true;
        // A printer may greet a new connection with a status byte of its own; it is no answer.
        readInput(greetingMs);
        answers_ = conversation.probe(findings_);
    }
    PrinterCheck check = answers_ ? conversation.checkReady(findings_) : PrinterCheck{};
    check.countsDelivery = check.answersStatus || countsHeldBytes();
    jobBytes_ = 0;
    return check;
}

void NetworkPrinterSocket::send(const QByteArray& bytes) {
    if (socket_.state() != QAbstractSocket::ConnectedState ||
        socket_.write(bytes) != bytes.size()) {
        fail(socket_.errorString());
    }
    written_ += bytes.size();
    jobBytes_ += bytes.size();
    // The socket's thread runs no event loop that would write it out: the layout's pauses
    // between writes must reach the printer as pauses, not as one burst at the next wait.
    socket_.flush();
}

PrintedJob NetworkPrinterSocket::finishJob(const PrinterCheck& check) {
    PrinterConversation conversation(*this, limits_);
    if (check.answers) {
        return conversation.confirmPrinted(jobBytes_);
    }
    conversation.waitUntilTaken(jobBytes_, check.answersStatus && !countsHeldBytes());
    return {};
}

// Waiting for input also writes out what Qt still holds.
QByteArray NetworkPrinterSocket::readInput(int waitMs) {
    if (socket_.bytesToWrite() > 0) {
        socket_.waitForBytesWritten(0);
    }
    if (socket_.bytesAvailable() == 0 && waitMs > 0) {
        socket_.waitForReadyRead(waitMs);
    }
    if (socket_.state() != QAbstractSocket::ConnectedState) {
        fail(socket_.errorString());
    }
    return socket_.readAll();
}

// What the system received but Qt has not read yet is stale too.
void NetworkPrinterSocket::discardInput() {
    do {
        socket_.readAll();
    } while (socket_.state() == QAbstractSocket::ConnectedState && socket_.waitForReadyRead(0));
}

qint64 NetworkPrinterSocket::heldBytes() {
    return socket_.bytesToWrite() + std::max<std::int64_t>(unacknowledgedBytes(), 0);
}

bool NetworkPrinterSocket::printerGone(int silentMs) {
    return socket_.state() == QAbstractSocket::ConnectedState &&
           socket_platform::unansweredMs(static_cast<std::intptr_t>(socket_.socketDescriptor())) >=
               silentMs;
}

bool NetworkPrinterSocket::countsHeldBytes() const {
    return socket_.state() != QAbstractSocket::ConnectedState || unacknowledgedBytes() >= 0;
}

std::int64_t NetworkPrinterSocket::unacknowledgedBytes() const {
    return socket_platform::unacknowledgedBytes(
        static_cast<std::intptr_t>(socket_.socketDescriptor()), written_ - socket_.bytesToWrite());
}

// The connection is reset, as when the printer itself drops it: nothing more of the job
// arrives, and it is sent again in full on the next visit.
void NetworkPrinterSocket::fail(const QString& reason) {
    if (socket_.state() == QAbstractSocket::ConnectedState) {
        socket_platform::resetOnClose(static_cast<std::intptr_t>(socket_.socketDescriptor()));
    }
    socket_.abort();
    throw NetworkPrinterError(QStringLiteral("프린터 %1:%2 에 보낼 수 없습니다: %3")
                                  .arg(printer_.host)
                                  .arg(printer_.port)
                                  .arg(reason));
}

// A plain close() right before a blocking pause would deliver nothing, and closing with unread
// status bytes from the printer makes the kernel reset the connection and drop what was not
// yet delivered. So: write out, shut our sending side, read until the printer closes.
void NetworkPrinterSocket::close() {
    if (socket_.state() == QAbstractSocket::ConnectedState) {
        while (socket_.bytesToWrite() > 0 && socket_.waitForBytesWritten(writeOutTimeoutMs)) {
        }
        socket_platform::shutdownSending(static_cast<std::intptr_t>(socket_.socketDescriptor()));
        readAwayAndDisconnect();
    }
    socket_.abort();
}

void NetworkPrinterSocket::readAwayAndDisconnect() {
    const QDeadlineTimer bound(peerCloseBoundMs);
    while (socket_.state() == QAbstractSocket::ConnectedState && !bound.hasExpired()) {
        socket_.readAll();
        socket_.waitForReadyRead(static_cast<int>(bound.remainingTime()));
    }
}
