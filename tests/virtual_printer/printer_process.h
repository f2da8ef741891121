#pragma once

#include <QDeadlineTimer>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QThread>

// The virtual printer program with a paper file and a control socket, driven as the tests of
// the print server drive it.
class PrinterProcess {
public:
    static constexpr int waitMs = 5000;

    explicit PrinterProcess(const QStringList& options) {
        program_.start(
            QStringLiteral(VIRTUAL_PRINTER_PROGRAM),
            QStringList{QStringLiteral("--name"), QStringLiteral("test"), QStringLiteral("--out"),
                        folder_.path(), QStringLiteral("--paper"), path("paper"),
                        QStringLiteral("--control"), path("control"), QStringLiteral("--quiet")} +
                options);
        const QDeadlineTimer deadline(waitMs);
        while (status().isEmpty() && !deadline.hasExpired()) {
            QThread::msleep(20);
        }
    }
    PrinterProcess(const PrinterProcess&) = delete;
    PrinterProcess& operator=(const PrinterProcess&) = delete;
    ~PrinterProcess() {
        program_.kill();
        program_.waitForFinished();
    }

    // The answer line, empty when the control socket does not answer.
    QString control(const QString& command) const {
        QLocalSocket socket;
        socket.connectToServer(path("control"));
        if (!socket.waitForConnected(waitMs)) {
            return {};
        }
        socket.write(command.toUtf8() + '\n');
        while (!socket.canReadLine() && socket.waitForReadyRead(waitMs)) {
        }
        return QString::fromUtf8(socket.readLine()).trimmed();
    }
    QString status() const { return control(QStringLiteral("status")); }
    // Waits until the status line holds the given fields, in their order.
    bool waitForStatus(const QString& fields) const {
        const QDeadlineTimer deadline(waitMs);
        while (!status().contains(fields)) {
            if (deadline.hasExpired()) {
                return false;
            }
            QThread::msleep(10);
        }
        return true;
    }
    qint64 statusCount(const QString& name) const {
        const QString field = status().section(name + QLatin1Char('='), 1).section(' ', 0, 0);
        return field.toLongLong();
    }
    QByteArray paper() const {
        QFile file(path("paper"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QString path(const char* name) const { return folder_.filePath(QString::fromLatin1(name)); }

private:
    QTemporaryDir folder_;
    QProcess program_;
};

inline quint16 freeLoopbackPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();
}
