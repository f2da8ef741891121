#include "printer_process.h"
#include "test_rig.h"

#include <QStandardPaths>
#include <QTcpSocket>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <memory>
#include <poll.h>
#include <unistd.h>

namespace {

constexpr int waitMs = PrinterProcess::waitMs;
const QByteArray dleEot1("\x10\x04\x01", 3);
const QByteArray dleEot2("\x10\x04\x02", 3);
const QByteArray dleEot4("\x10\x04\x04", 3);
const QByteArray paperSensor("\x1d\x72\x01", 3);

QStringList listenOn(quint16 port, const QStringList& options = {}) {
    return QStringList{QStringLiteral("--listen"), QStringLiteral("127.0.0.1:%1").arg(port)} +
           options;
}

// A print server's connection with the printer's greeting read away.
std::unique_ptr<QTcpSocket> connectedHost(quint16 port) {
    auto host = std::make_unique<QTcpSocket>();
    host->connectToHost(QHostAddress::LocalHost, port);
    if (host->waitForConnected(waitMs) && host->waitForReadyRead(waitMs)) {
        host->read(1);
    }
    return host;
}

void send(QTcpSocket& host, const QByteArray& bytes) {
    host.write(bytes);
    host.flush();
}

QByteArray ask(QTcpSocket& host, const QByteArray& bytes, qsizetype answerBytes) {
    send(host, bytes);
    QByteArray answer;
    while (answer.size() < answerBytes && host.waitForReadyRead(waitMs)) {
        answer += host.readAll();
    }
    return answer;
}

} // namespace

// Real-time requests are answered as they are read, whatever the printer is doing; GS r only
// once everything before it is printed. None of them reaches the paper.
TEST(KitchenPrinterProgram, AnswersStatusRequestsAsPaperCoverAndSwitchesChange) {
    const quint16 port = freeLoopbackPort();
    const PrinterProcess printer(listenOn(port));
    const std::unique_ptr<QTcpSocket> host = connectedHost(port);
    printer.control(QStringLiteral("answers off"));
    send(*host, dleEot1 + "A\r\n" + paperSensor);
    ASSERT_TRUE(printer.waitForStatus(QStringLiteral("received=9 printed=3 buffered=0")));
    printer.control(QStringLiteral("answers on"));
    send(*host, "\x10");
    ASSERT_TRUE(printer.waitForStatus(QStringLiteral("received=10")));
    EXPECT_EQ(ask(*host, "\x04\x02", 1), "\x12") << "a request split between two reads";

    const std::vector<std::pair<QString, QByteArray>> answers{
        {QStringLiteral("paper near-end"), "\x12\x12\x1e"},
        {QStringLiteral("paper out"), "\x1a\x32\x72"},
        {QStringLiteral("paper in"), "\x12\x12\x12"},
        {QStringLiteral("cover open"), "\x1a\x16\x12"},
        {QStringLiteral("cover close"), "\x12\x12\x12"},
        {QStringLiteral("offline"), "\x1a\x12\x12"},
        {QStringLiteral("online"), "\x12\x12\x12"}};
    for (const auto& [command, expected] : answers) {
        EXPECT_EQ(printer.control(command), QStringLiteral("ok"));
        EXPECT_EQ(ask(*host, dleEot1 + dleEot2 + dleEot4, 3), expected) << command.toStdString();
    }

    printer.control(QStringLiteral("paper near-end"));
    EXPECT_EQ(ask(*host, "B\r\n" + paperSensor, 1), "\x03");
    printer.control(QStringLiteral("paper out"));
    EXPECT_EQ(ask(*host, "C\r\n" + paperSensor + dleEot1, 1), "\x1a") << "GS r waits for paper";
    printer.control(QStringLiteral("paper in"));
    EXPECT_EQ(ask(*host, {}, 1), QByteArray(1, '\0'));
    EXPECT_EQ(printer.paper(), "A\r\nB\r\nC\r\n");
}

// A printer that stops printing stops reading once its buffer is full; the power going takes
// the buffer and the connection with it, and a reset asked for drops the connection in the
// middle of what the host sends. With a window hold, a full buffer stops reading for that long
// though the printer printed all it held.
TEST(KitchenPrinterProgram, FullBufferStopsInputAndPowerLossEmptiesIt) {
    const quint16 port = freeLoopbackPort();
    const PrinterProcess printer(listenOn(
        port, {QStringLiteral("--buffer"), "1024", QStringLiteral("--hold-window"), "60"}));
    printer.control(QStringLiteral("paper out"));
    std::unique_ptr<QTcpSocket> host = connectedHost(port);
    send(*host, QByteArray(65536, 'x'));
    ASSERT_TRUE(printer.waitForStatus(QStringLiteral("received=1024 printed=0 buffered=1024")));

    EXPECT_EQ(printer.control(QStringLiteral("power off")), QStringLiteral("ok"));
    EXPECT_FALSE(host->waitForReadyRead(waitMs));
    EXPECT_EQ(host->state(), QAbstractSocket::UnconnectedState);
    EXPECT_EQ(connectedHost(port)->error(), QAbstractSocket::ConnectionRefusedError);
    EXPECT_TRUE(printer.status().contains(QStringLiteral("buffered=0 paper=out")));

    printer.control(QStringLiteral("power on"));
    printer.control(QStringLiteral("paper in"));
    host = connectedHost(port);
    EXPECT_EQ(printer.control(QStringLiteral("reset after 3")), QStringLiteral("ok"));
    send(*host, "ABCDEF");
    EXPECT_FALSE(host->waitForReadyRead(waitMs));
    EXPECT_EQ(host->error(), QAbstractSocket::RemoteHostClosedError);
    ASSERT_TRUE(printer.waitForStatus(QStringLiteral("printed=3")));
    EXPECT_EQ(printer.paper(), "ABC");

    printer.control(QStringLiteral("paper out"));
    host = connectedHost(port);
    send(*host, QByteArray(65536, 'x'));
    ASSERT_TRUE(printer.waitForStatus(QStringLiteral("printed=3 buffered=1024")));
    printer.control(QStringLiteral("paper in"));
    EXPECT_TRUE(printer.waitForStatus(QStringLiteral("printed=1027 buffered=0")));
}

TEST(KitchenPrinterProgram, ImpactPrinterFallsBehindAThermalOne) {
    const quint16 thermalPort = freeLoopbackPort();
    const quint16 impactPort = freeLoopbackPort();
    const PrinterProcess thermal(listenOn(thermalPort));
    const PrinterProcess impact(listenOn(impactPort, {QStringLiteral("--impact")}));
    const QByteArray job = QByteArray(40, '-') + "\r\n";
    const std::unique_ptr<QTcpSocket> impactHost = connectedHost(impactPort);
    send(*impactHost, job.repeated(50));
    const std::unique_ptr<QTcpSocket> thermalHost = connectedHost(thermalPort);
    ASSERT_EQ(ask(*thermalHost, job.repeated(50) + paperSensor, 1), QByteArray(1, '\0'));
    EXPECT_EQ(thermal.statusCount(QStringLiteral("printed")), 2100);
    EXPECT_LT(impact.statusCount(QStringLiteral("printed")), 2100);
}

// The host end of a socat pseudo-terminal pair whose other end the printer reads.
class SerialLine : public testing::Test {
protected:
    void SetUp() override {
        REQUIRE_OR_SKIP(!QStandardPaths::findExecutable(QStringLiteral("socat")).isEmpty(),
                        "needs socat");
        const QString host = folder_.filePath(QStringLiteral("COM1"));
        socat_.start(QStringLiteral("socat"),
                     {QStringLiteral("pty,raw,echo=0,link=%1").arg(host),
                      QStringLiteral("pty,raw,echo=0,link=%1").arg(printerEnd())});
        const QDeadlineTimer deadline(waitMs);
        while (!QFile::exists(host) || !QFile::exists(printerEnd())) {
            ASSERT_FALSE(deadline.hasExpired()) << "socat made no pseudo-terminals";
            QThread::msleep(20);
        }
        host_ = ::open(host.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        ASSERT_GE(host_, 0);
    }
    void TearDown() override {
        if (host_ >= 0) {
            ::close(host_);
        }
        socat_.terminate();
        socat_.waitForFinished();
    }
    QString printerEnd() const { return folder_.filePath(QStringLiteral("printer")); }
    void send(const QByteArray& bytes) const {
        EXPECT_EQ(::write(host_, bytes.constData(), bytes.size()), bytes.size());
    }
    QByteArray nextByte() const {
        pollfd readable{host_, POLLIN, 0};
        char byte = 0;
        if (poll(&readable, 1, waitMs) != 1 || ::read(host_, &byte, 1) != 1) {
            return {};
        }
        return {1, byte};
    }

    QTemporaryDir folder_;
    QProcess socat_;
    int host_ = -1;
};

TEST_F(SerialLine, PrinterAnswersOnTheLineAndAsksForPausesWhenItsBufferFills) {
    const PrinterProcess printer({QStringLiteral("--serial"), printerEnd(),
                                  QStringLiteral("--xon-xoff"), QStringLiteral("--buffer"),
                                  QStringLiteral("1024")});
    EXPECT_EQ(printer.status(), QStringLiteral("connections=0 received=0 printed=0 buffered=0 "
                                               "paper=in cover=closed online=yes power=on "
                                               "answers=on reset-after=none"));
    EXPECT_TRUE(printer.control(QStringLiteral("reset after 0")).startsWith("error"));
    EXPECT_TRUE(printer.control(QStringLiteral("paper jam")).startsWith("error"));
    printer.control(QStringLiteral("paper out"));
    send(QByteArray(800, 'x'));
    EXPECT_EQ(nextByte(), "\x13") << "XOFF at three quarters";
    send(dleEot2);
    EXPECT_EQ(nextByte(), "\x32");
    printer.control(QStringLiteral("paper in"));
    EXPECT_EQ(nextByte(), "\x11") << "XON at a quarter";
    ASSERT_TRUE(printer.waitForStatus(QStringLiteral("printed=800")));
    EXPECT_EQ(printer.paper(), QByteArray(800, 'x'));
}
