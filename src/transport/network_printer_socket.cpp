#include "network_printer_socket.h"

#include "network_printer_error.h"
#include "socket_platform.h"

#include <QDeadlineTimer>
#include <QHostAddress>

namespace {

constexpr int writeOutTimeoutMs = 3000;
// How long a printer may take to close its side after ours is shut.
constexpr int peerCloseBoundMs = 500;

} // namespace

NetworkPrinterSocket::NetworkPrinterSocket(QObject* parent) : QObject(parent) {
    const auto closeElement = [this] {
        if (socket_.state() != QAbstractSocket::UnconnectedState) {
            socket_.abort();
        }
    };
    connect(&socket_, &QTcpSocket::disconnected, this, closeElement);
    connect(&socket_, &QTcpSocket::errorOccurred, this, closeElement);
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
        throw NetworkPrinterError(QStringLiteral("프린터 %1:%2 에 보낼 수 없습니다: %3")
                                      .arg(remoteHost_)
                                      .arg(remotePort_)
                                      .arg(socket_.errorString()));
    }
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
