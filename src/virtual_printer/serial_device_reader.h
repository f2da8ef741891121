#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <QString>
#include <QTimer>
#include <memory>

// A serial kitchen printer on a character device or pseudo-terminal, read in raw mode. The
// writer may open and close its end for every job: an end of input or an I/O error closes the
// device, which is opened again a moment later.
class SerialDeviceReader : public QObject {
    Q_OBJECT

public:
    explicit SerialDeviceReader(QString path, QObject* parent = nullptr);
    ~SerialDeviceReader() override;

    // Throws std::runtime_error when the device cannot be opened the first time.
    void start();

Q_SIGNALS:
    void received(const QByteArray& bytes);

private:
    bool open();
    void readAvailable();
    void closeAndReopenLater();
    void reopen();

    QString path_;
    int fd_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
    QTimer reopenTimer_;
};
