#include "port_probe.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QTcpSocket>

namespace port_probe {

namespace {

// Qt wants the address with the first octet in the highest 8 bits.
QHostAddress hostAddressOf(std::uint32_t address) {
    return QHostAddress((address & 0xFFu) << 24 | ((address >> 8) & 0xFFu) << 16 |
                        ((address >> 16) & 0xFFu) << 8 | address >> 24);
}

std::uint32_t statusOf(QAbstractSocket::SocketError error) {
    switch (error) {
    case QAbstractSocket::SocketTimeoutError:
        return icmp_echo::statusTimedOut;
    case QAbstractSocket::NetworkError:
        return icmp_echo::statusDestinationUnreachable;
    default:
        return icmp_echo::statusGeneralFailure;
    }
}

} // namespace

icmp_echo::Echo tryConnection(std::uint32_t address, std::uint16_t port, int timeoutMs,
                              icmp_echo::EchoReply& reply) {
    reply.byConnection = true;
    QTcpSocket socket;
    QElapsedTimer elapsed;
    elapsed.start();
    socket.connectToHost(hostAddressOf(address), port);
    const bool connected = socket.waitForConnected(timeoutMs);
    const QAbstractSocket::SocketError error = socket.error();
    socket.abort();
    if (connected || error == QAbstractSocket::ConnectionRefusedError) {
        reply.status = 0;
        reply.roundTripMs = static_cast<std::uint32_t>(elapsed.elapsed());
        return icmp_echo::Echo::answered;
    }
    reply.status = statusOf(error);
    return icmp_echo::Echo::unanswered;
}

} // namespace port_probe
