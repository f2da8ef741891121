#include "server_socket.h"

#include <QNetworkInterface>
#include <stdexcept>

void ServerSocket::listen(quint16 port) {
    server_.setMaxPendingConnections(0);
    if (!server_.listen(QHostAddress::AnyIPv4, port)) {
        throw std::runtime_error(server_.errorString().toStdString());
    }
    server_.pauseAccepting();
}

QString ServerSocket::localIpAddress() {
    for (const QNetworkInterface& interface : QNetworkInterface::allInterfaces()) {
        const auto flags = interface.flags();
        if (!flags.testFlag(QNetworkInterface::IsUp) ||
            flags.testFlag(QNetworkInterface::IsLoopBack)) {
            continue;
        }
        for (const QNetworkAddressEntry& entry : interface.addressEntries()) {
            if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol) {
                return entry.ip().toString();
            }
        }
    }
    return QStringLiteral("127.0.0.1");
}

bool ServerSocket::isLocalAddress(const QString& address) {
    return QNetworkInterface::allAddresses().contains(QHostAddress(address));
}
