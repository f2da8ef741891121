#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTcpSocket>

// The TCP connection to one network kitchen printer, connected per print cycle and closed
// again after the printer's jobs. The printer dropping the connection, or any socket error,
// closes it.
class NetworkPrinterSocket : public QObject {
    Q_OBJECT

public:
    static constexpr int stateConnecting = 6;
    static constexpr int stateConnected = 7;
    static constexpr int stateClosed = 0;

    explicit NetworkPrinterSocket(QObject* parent = nullptr);

    void setRemoteHost(const QString& host) { remoteHost_ = host; }
    const QString& remoteHost() const { return remoteHost_; }
    void setRemotePort(qint32 port) { remotePort_ = port; }
    qint32 remotePort() const { return remotePort_; }

    // 6 while the name is looked up or the connection is made, 7 when connected, else 0.
    int state() const;
    // Starts connecting to the remote host and port and returns at once.
    void connectToPrinter();
    // The peer's dotted address while connected.
    QString remoteIpAddress() const;
    // Throws NetworkPrinterError when the connection is gone.
    void send(const QByteArray& bytes);
    // Returns once the printer has acknowledged every byte sent so far. A printer that takes
    // nothing new for 3 s, or not the whole job (of the given size) in a time that grows with
    // it, loses the connection, and NetworkPrinterError is thrown.
    void waitUntilDelivered(qint64 jobBytes);
    // Delivers everything sent so far before the connection ends.
    void close();

private:
    void readAwayAndDisconnect();
    qint64 undeliveredBytes() const;
    [[noreturn]] void fail(const QString& reason);

    QTcpSocket socket_;
    QString remoteHost_;
    qint32 remotePort_ = 0;
};
