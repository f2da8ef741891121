#include "serial_device_reader.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr int reopenDelayMs = 200;
constexpr int readChunk = 4096;

// No echo, no line editing, no CR to LF translation: the bytes exactly as the writer sent them.
void makeRaw(int fd) {
    termios settings{};
    if (tcgetattr(fd, &settings) == 0) {
        cfmakeraw(&settings);
        tcsetattr(fd, TCSANOW, &settings);
    }
}

} // namespace

SerialDeviceReader::SerialDeviceReader(QString path, QObject* parent)
    : QObject(parent), path_(std::move(path)) {
    reopenTimer_.setSingleShot(true);
    reopenTimer_.setInterval(reopenDelayMs);
    connect(&reopenTimer_, &QTimer::timeout, this, &SerialDeviceReader::reopen);
}

SerialDeviceReader::~SerialDeviceReader() {
    notifier_.reset();
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

void SerialDeviceReader::start() {
    if (!open()) {
        throw std::runtime_error(QStringLiteral("cannot open %1: %2")
                                     .arg(path_, QString::fromLocal8Bit(std::strerror(errno)))
                                     .toStdString());
    }
}

bool SerialDeviceReader::open() {
    fd_ = ::open(path_.toLocal8Bit().constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) {
        return false;
    }
    if (isatty(fd_) != 0) {
        makeRaw(fd_);
    }
    notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &SerialDeviceReader::readAvailable);
    return true;
}

// Reads until the device has nothing more for now; anything else than "try again later" ends
// this opening.
void SerialDeviceReader::readAvailable() {
    std::array<char, readChunk> buffer{};
    ssize_t count = 0;
    while ((count = ::read(fd_, buffer.data(), buffer.size())) > 0 ||
           (count < 0 && errno == EINTR)) {
        if (count > 0) {
            Q_EMIT received(QByteArray(buffer.data(), count));
        }
    }
    const bool drained = count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
    if (!drained) {
        closeAndReopenLater();
    }
}

void SerialDeviceReader::closeAndReopenLater() {
    notifier_.reset();
    ::close(fd_);
    fd_ = -1;
    reopenTimer_.start();
}

void SerialDeviceReader::reopen() {
    if (!open()) {
        reopenTimer_.start();
    }
}
