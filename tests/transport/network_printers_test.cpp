#include "network_printer_error.h"
#include "network_printer_socket.h"

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
};

} // namespace

TEST_F(NetworkPrintersTest, PrintersAreNumberedFromOne) {
    NetworkPrinters printers;
    printers.add({QStringLiteral("10.0.0.5"), 9100});
    printers.add({QStringLiteral("10.0.0.6"), 9101});
    EXPECT_EQ(printers.count(), 2);
    EXPECT_EQ(printers.at(2).printerName(), QStringLiteral("프린터 10.0.0.6:9101"));
    EXPECT_THROW(printers.at(0), std::out_of_range);
    EXPECT_THROW(printers.at(3), std::out_of_range);
}

TEST_F(NetworkPrintersTest, ConnectsByNameOnceAndNotToAnEmptyHostOrAClosedPort) {
    NetworkPrinterSocket byName({QStringLiteral("localhost"), printer_.serverPort()});
    ASSERT_TRUE(byName.connectWithin(3000));
    EXPECT_TRUE(byName.connectWithin(0)) << "a standing connection is kept";
    EXPECT_GE(byName.descriptor(), 0);
    NetworkPrinterSocket blank({QStringLiteral("  "), printer_.serverPort()});
    EXPECT_FALSE(blank.connectWithin(3000));
    const quint16 closedPort = printer_.serverPort();
    printer_.close();
    NetworkPrinterSocket refused({QStringLiteral("127.0.0.1"), closedPort});
    EXPECT_FALSE(refused.connectWithin(3000));
    EXPECT_EQ(refused.descriptor(), -1);
}

TEST_F(NetworkPrintersTest, PrinterClosingTheConnectionClosesTheSocketAndSendsFail) {
    NetworkPrinterSocket socket({QStringLiteral("127.0.0.1"), printer_.serverPort()});
    ASSERT_TRUE(socket.connectWithin(3000));
    QTcpSocket* peer = acceptedPeer();
    ASSERT_NE(peer, nullptr);
    peer->close();
    for (int tries = 0; tries < 50 && socket.isConnected(); ++tries) {
        QTest::qWait(20);
    }
    EXPECT_FALSE(socket.isConnected());
    EXPECT_THROW(socket.send("late"), NetworkPrinterError);
}

TEST_F(NetworkPrintersTest, EverythingSentBeforeCloseArrivesAlthoughThePrinterTalksBack) {
    NetworkPrinterSocket socket({QStringLiteral("127.0.0.1"), printer_.serverPort()});
    ASSERT_TRUE(socket.connectWithin(3000));
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
