#pragma once

#include <QHostAddress>
#include <QObject>
#include <QTcpServer>
#include <QTcpSocket>

// A network kitchen printer: one client at a time, greeted with a status byte as real printers
// report their state, and read until it closes. Later clients wait in the listen queue.
class TcpPrinterListener : public QObject {
    Q_OBJECT

public:
    explicit TcpPrinterListener(QObject* parent = nullptr);

    // Throws std::runtime_error when the address cannot be taken.
    void listen(const QHostAddress& address, quint16 port);

Q_SIGNALS:
    void received(const QByteArray& bytes);

private:
    void takeNextClient();
    void readClient();
    void endClient();

    QTcpServer server_;
    QTcpSocket* client_ = nullptr;
};
