#include "network_printer_error.h"
#include "network_printers.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class NetworkPrintersTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(printer_.listen(QHostAddress::LocalHost)); }

    QTcpSocket* acceptedPeer() {
        if (!printer_.hasPendingConnections()) {
            printer_.waitForNewConnection(1000);
        }
        return printer_.nextPendingConnection();
    }

    QTcpServer printer_;
    NetworkPrinters printers_;
};

} // namespace

TEST_F(NetworkPrintersTest, ElementsAreNumberedFromOne) {
    printers_.add();
    printers_.add().setRemotePort(9100);
    EXPECT_EQ(printers_.count(), 2);
    EXPECT_EQ(printers_.at(2).remotePort(), 9100);
    EXPECT_THROW(printers_.at(0), std::out_of_range);
    EXPECT_THROW(printers_.at(3), std::out_of_range);
}

TEST_F(NetworkPrintersTest, HostNameStillBeingLookedUpCountsAsConnecting) {
    NetworkPrinterSocket& socket = printers_.add();
    socket.setRemoteHost(QStringLiteral("localhost"));
    socket.setRemotePort(printer_.serverPort());
    socket.connectToPrinter();
    EXPECT_EQ(socket.state(), NetworkPrinterSocket::stateConnecting);
    printers_.connectAndWait(socket, socket.remoteHost(), socket.remotePort());
    EXPECT_EQ(socket.state(), NetworkPrinterSocket::stateConnected);
}

TEST_F(NetworkPrintersTest, WaitReturnsAtOnceForAnEmptyHostOrAConnectedSocket) {
    NetworkPrinterSocket& socket = printers_.add();
    printers_.connectAndWait(socket, QStringLiteral("  "), printer_.serverPort());
    EXPECT_EQ(socket.state(), NetworkPrinterSocket::stateClosed);
    printers_.connectAndWait(socket, QStringLiteral("127.0.0.1"), printer_.serverPort());
    ASSERT_EQ(socket.state(), NetworkPrinterSocket::stateConnected);
    printers_.connectAndWait(socket, QStringLiteral("127.0.0.1"), 1);
    EXPECT_EQ(socket.state(), NetworkPrinterSocket::stateConnected);
    EXPECT_EQ(socket.remotePort(), printer_.serverPort());
}

TEST_F(NetworkPrintersTest, PrinterClosingTheConnectionClosesTheSocketAndSendsFail) {
    NetworkPrinterSocket& socket = printers_.add();
    printers_.connectAndWait(socket, QStringLiteral("127.0.0.1"), printer_.serverPort());
    QTcpSocket* peer = acceptedPeer();
    ASSERT_NE(peer, nullptr);
    peer->close();
    for (int tries = 0; tries < 50 && socket.state() != NetworkPrinterSocket::stateClosed;
         ++tries) {
        QTest::qWait(20);
    }
    EXPECT_EQ(socket.state(), NetworkPrinterSocket::stateClosed);
    EXPECT_THROW(socket.send("late"), NetworkPrinterError);
}

TEST_F(NetworkPrintersTest, EverythingSentBeforeCloseArrivesAlthoughThePrinterTalksBack) {
    NetworkPrinterSocket& socket = printers_.add();
    printers_.connectAndWait(socket, QStringLiteral("127.0.0.1"), printer_.serverPort());
    QTcpSocket* peer = acceptedPeer();
    ASSERT_NE(peer, nullptr);
    peer->write("\x12"); // a status byte the program never reads
    peer->flush();
    QTest::qWait(50);
    const QByteArray ticket(200000, 'x');
    socket.send(ticket);
    socket.close();
    QByteArray received;
    while (peer->state() == QAbstractSocket::ConnectedState && peer->waitForReadyRead(1000)) {
        received += peer->readAll();
    }
    received += peer->readAll();
    EXPECT_EQ(received.size(), ticket.size());
}
