#include "network_printers.h"

#include <QCoreApplication>
#include <stdexcept>

namespace {

constexpr int socketTimerMs = 1000;
constexpr int ticksToGiveUp = 3;

} // namespace

NetworkPrinters::NetworkPrinters() {
    socketTimer_.setInterval(socketTimerMs);
    connect(&socketTimer_, &QTimer::timeout, this, [this] { ++socketTicks_; });
}

NetworkPrinterSocket& NetworkPrinters::add() {
    sockets_.push_back(std::make_unique<NetworkPrinterSocket>());
    return *sockets_.back();
}

NetworkPrinterSocket& NetworkPrinters::at(qint16 number) {
    if (number < 1 || number > count()) {
        throw std::out_of_range("no network printer socket " + std::to_string(number));
    }
    return *sockets_.at(static_cast<std::size_t>(number - 1));
}

void NetworkPrinters::connectAndWait(NetworkPrinterSocket& socket, const QString& host,
                                     qint32 port) {
    socketTicks_ = 0;
    if (host.trimmed().isEmpty() || socket.state() == NetworkPrinterSocket::stateConnected) {
        return;
    }
    socket.setRemoteHost(host);
    socket.setRemotePort(port);
    socket.connectToPrinter();
    socketTimer_.start();
    while (socket.state() == NetworkPrinterSocket::stateConnecting) {
        // Sleeps until the socket or a timer tick has something to say.
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        if (socket.state() == NetworkPrinterSocket::stateConnected) {
            break;
        }
        if (socketTicks_ >= ticksToGiveUp) {
            socketTicks_ = 0;
            break;
        }
    }
    socketTimer_.stop();
}
