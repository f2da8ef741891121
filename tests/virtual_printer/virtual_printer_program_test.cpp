#include "escpos_bytes.h"
#include "printer_process.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace escpos_bytes;

namespace {

constexpr int startupMs = 5000;
const QByteArray drawerKick("\x1b\x70\x00\x19\xfa", 5);

class VirtualPrinterProgram : public testing::Test {
protected:
    void start(const QStringList& port) {
        ASSERT_TRUE(folder_.isValid());
        program_.start(QStringLiteral(VIRTUAL_PRINTER_PROGRAM),
                       QStringList{QStringLiteral("--name"), QStringLiteral("주방3"),
                                   QStringLiteral("--out"), folder_.path()} +
                           port);
        ASSERT_TRUE(program_.waitForStarted());
    }

    QString receiptFile(int number) const {
        return folder_.filePath(
            QStringLiteral("주방3-%1.png").arg(number, 4, 10, QLatin1Char('0')));
    }

    bool waitForReceipt(int number) const {
        const QDeadlineTimer deadline(startupMs);
        while (!QFileInfo::exists(receiptFile(number))) {
            if (deadline.hasExpired()) {
                return false;
            }
            QThread::msleep(20);
        }
        return true;
    }

    // Stops the program as a service manager would and returns what it printed.
    QString stop() {
        program_.terminate();
        EXPECT_TRUE(program_.waitForFinished(startupMs));
        EXPECT_EQ(program_.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program_.exitCode(), 0) << program_.readAllStandardError().toStdString();
        return QString::fromUtf8(program_.readAllStandardOutput());
    }

    void TearDown() override {
        if (program_.state() != QProcess::NotRunning) {
            program_.kill();
            program_.waitForFinished();
        }
    }

    QTemporaryDir folder_;
    QProcess program_;
};

// One print job as the print server sends it: connect, read the status byte away, send,
// close. Retries the connection while the program starts.
void sendJob(quint16 port, const QByteArray& bytes) {
    QTcpSocket socket;
    const QDeadlineTimer deadline(startupMs);
    socket.connectToHost(QHostAddress::LocalHost, port);
    while (!socket.waitForConnected(100)) {
        ASSERT_FALSE(deadline.hasExpired()) << "the printer does not listen";
        socket.abort();
        QThread::msleep(20);
        socket.connectToHost(QHostAddress::LocalHost, port);
    }
    ASSERT_TRUE(socket.waitForReadyRead(startupMs));
    EXPECT_EQ(socket.readAll(), QByteArray("\x12", 1));
    socket.write(bytes);
    ASSERT_TRUE(socket.waitForBytesWritten(startupMs));
    socket.disconnectFromHost();
    if (socket.state() != QAbstractSocket::UnconnectedState) {
        EXPECT_TRUE(socket.waitForDisconnected(startupMs));
    }
}

// Opens the writing end of a FIFO once the program reads it, writes and closes, as the print
// server does with its serial port for every job.
void writeJob(const QString& fifo, const QByteArray& bytes) {
    const QDeadlineTimer deadline(startupMs);
    int fd = -1;
    while ((fd = ::open(fifo.toLocal8Bit().constData(), O_WRONLY | O_NONBLOCK)) < 0) {
        ASSERT_EQ(errno, ENXIO);
        ASSERT_FALSE(deadline.hasExpired()) << "the printer does not read the device";
        QThread::msleep(20);
    }
    EXPECT_EQ(::write(fd, bytes.constData(), bytes.size()), bytes.size());
    ::close(fd);
}

} // namespace

// Jobs come one connection after the other; text after the last cut stays for the next job
// and is written out when the program is stopped.
TEST_F(VirtualPrinterProgram, NetworkPrinterPrintsEveryCutAndTheRestOnStop) {
    const quint16 port = freeLoopbackPort();
    start({QStringLiteral("--listen"), QStringLiteral("127.0.0.1:%1").arg(port)});
    sendJob(port, "A" + crlf + cut + "B" + crlf);
    ASSERT_TRUE(waitForReceipt(1));
    sendJob(port, "C" + crlf + cut + "D" + crlf);
    ASSERT_TRUE(waitForReceipt(2));
    EXPECT_FALSE(QFileInfo::exists(receiptFile(3)));

    const QString printed = stop();
    EXPECT_TRUE(QFileInfo::exists(receiptFile(3)));
    const QStringList headers = printed.split('\n').filter(QStringLiteral("==="));
    EXPECT_EQ(headers, QStringList({QStringLiteral("=== 주방3 #0001 ==="),
                                    QStringLiteral("=== 주방3 #0002 ==="),
                                    QStringLiteral("=== 주방3 #0003 ===")}));
    EXPECT_TRUE(printed.contains(QStringLiteral("|B ")) && printed.contains(QStringLiteral("|C ")));
}

// The writer closing its end between jobs ends the input; the program opens the device again.
TEST_F(VirtualPrinterProgram, SerialPrinterKeepsReadingAfterTheWriterCloses) {
    const QString fifo = folder_.filePath(QStringLiteral("COM1"));
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    start({QStringLiteral("--serial"), fifo});
    writeJob(fifo, text(QStringLiteral("김치찌개 2")) + crlf + cut);
    ASSERT_TRUE(waitForReceipt(1));
    writeJob(fifo, drawerKick);
    writeJob(fifo, "B" + crlf + cut);
    ASSERT_TRUE(waitForReceipt(2));

    const QString printed = stop();
    EXPECT_TRUE(printed.contains(QStringLiteral("|김치찌개 2 ")));
    EXPECT_TRUE(printed.contains(QStringLiteral("=== 주방3 [돈통 열림] ===")));
    EXPECT_FALSE(QFileInfo::exists(receiptFile(3)));
}

TEST_F(VirtualPrinterProgram, RefusesACommandLineWithoutAPort) {
    start({});
    ASSERT_TRUE(program_.waitForFinished(startupMs));
    EXPECT_EQ(program_.exitCode(), 2);
    EXPECT_TRUE(program_.readAllStandardError().contains("usage: virtual-printer"));
}
