#pragma once

#include <QString>
#include <QTcpServer>

// The terminal's server socket: it holds a local TCP port so that the POS side can see this
// program is there, never accepts a connection, and tells the terminal's own address.
class ServerSocket {
public:
    // Throws std::runtime_error with the platform's description when the port cannot be held.
    void listen(quint16 port);

    // The first IPv4 address of an interface that is up and not loopback, else "127.0.0.1".
    static QString localIpAddress();
    // Whether an interface of this machine holds the address now.
    static bool isLocalAddress(const QString& address);

private:
    QTcpServer server_;
};
