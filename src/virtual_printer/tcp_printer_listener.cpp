#include "tcp_printer_listener.h"

#include <stdexcept>

namespace {

// The status of a printer with nothing to report; the print server reads it away.
const QByteArray statusByte("\x12", 1);

} // namespace

TcpPrinterListener::TcpPrinterListener(QObject* parent) : QObject(parent) {
    connect(&server_, &QTcpServer::newConnection, this, &TcpPrinterListener::takeNextClient);
}

void TcpPrinterListener::listen(const QHostAddress& address, quint16 port) {
    if (!server_.listen(address, port)) {
        throw std::runtime_error(QStringLiteral("cannot listen on %1:%2: %3")
                                     .arg(address.toString())
                                     .arg(port)
                                     .arg(server_.errorString())
                                     .toStdString());
    }
}

void TcpPrinterListener::takeNextClient() {
    if (client_ != nullptr || !server_.hasPendingConnections()) {
        return;
    }
    client_ = server_.nextPendingConnection();
    connect(client_, &QTcpSocket::readyRead, this, &TcpPrinterListener::readClient);
    connect(client_, &QTcpSocket::disconnected, this, &TcpPrinterListener::endClient);
    client_->write(statusByte);
}

void TcpPrinterListener::readClient() {
    const QByteArray bytes = client_->readAll();
    if (!bytes.isEmpty()) {
        Q_EMIT received(bytes);
    }
}

void TcpPrinterListener::endClient() {
    readClient();
    client_->deleteLater();
    client_ = nullptr;
    takeNextClient();
}
