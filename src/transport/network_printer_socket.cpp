#include "network_printer_socket.h"

#include "network_printer_error.h"
#include "socket_platform.h"

#include <QDeadlineTimer>
#include <QHostAddress>
#include <QThread>
#include <limits>

namespace {

constexpr int writeOutTimeoutMs = 3000;
// How long a printer may take to close its side after ours is shut.
constexpr int peerCloseBoundMs = 500;
// A printer with its paper out or its cover open stops reading.
constexpr int stallLimitMs = 3000;
// The whole job must go at 1 kB/s at least, after a start-up allowance.
constexpr int deliveryAllowanceMs = 5000;
constexpr int bytesPerMs = 1;
constexpr int pollMs = 5;

} // namespace

NetworkPrinterSocket::NetworkPrinterSocket(QObject* parent) : QObject(parent) {
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

int NetworkPrinterSocket::state() const {
    switch (socket_.state()) {
    case QAbstractSocket::HostLookupState:
    case QAbstractSocket::ConnectingState:
        return stateConnecting;
    case QAbstractSocket::ConnectedState:
        return stateConnected;
    default:
        return stateClosed;
    }
}

void NetworkPrinterSocket::connectToPrinter() {
    socket_.abort();
    socket_.connectToHost(remoteHost_, static_cast<quint16>(remotePort_));
}

QString NetworkPrinterSocket::remoteIpAddress() const {
    return socket_.peerAddress().toString();
}

void NetworkPrinterSocket::send(const QByteArray& bytes) {
    if (socket_.state() != QAbstractSocket::ConnectedState ||
        socket_.write(bytes) != bytes.size()) {
        fail(socket_.errorString());
    }
}

// Checked right after writing out, then every millisecond: on a healthy printer the
// acknowledgement is there at once, and the wait must not slow the kitchen down.
void NetworkPrinterSocket::waitUntilDelivered(qint64 jobBytes) {
    const QDeadlineTimer deadline(deliveryAllowanceMs + jobBytes / bytesPerMs);
    QDeadlineTimer stall(stallLimitMs);
    qint64 undelivered = std::numeric_limits<qint64>::max();
    while (true) {
        if (socket_.bytesToWrite() > 0) {
            socket_.waitForBytesWritten(pollMs);
        }
        if (socket_.state() != QAbstractSocket::ConnectedState) {
            fail(socket_.errorString());
        }
        const qint64 now = undeliveredBytes();
        if (now == 0) {
            return;
        }
        if (now < undelivered) {
            stall.setRemainingTime(stallLimitMs);
        }
        undelivered = now;
        if (stall.hasExpired() || deadline.hasExpired()) {
            fail(QStringLiteral("프린터가 출력을 받지 않습니다"));
        }
        if (socket_.bytesToWrite() == 0) {
            QThread::msleep(1);
        }
    }
}

qint64 NetworkPrinterSocket::undeliveredBytes() const {
    const qint64 inKernel = socket_platform::unacknowledgedBytes(
        static_cast<std::intptr_t>(socket_.socketDescriptor()));
    return socket_.bytesToWrite() + std::max<qint64>(inKernel, 0);
}

// The connection is dropped, as when the printer itself drops it: the job is sent again in
// full on the next visit.
void NetworkPrinterSocket::fail(const QString& reason) {
    socket_.abort();
    throw NetworkPrinterError(QStringLiteral("프린터 %1:%2 에 보낼 수 없습니다: %3")
                                  .arg(remoteHost_)
                                  .arg(remotePort_)
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
