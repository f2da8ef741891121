#include "readable_descriptor.h"

#include <cerrno>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool isSocket(int fd) {
    struct stat found {};
    return fstat(fd, &found) == 0 && S_ISSOCK(found.st_mode);
}

} // namespace

void ReadableDescriptor::setReading(bool reading) {
    if (notifier_) {
        notifier_->setEnabled(reading);
    }
}

void ReadableDescriptor::close() {
    notifier_.reset();
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

ReadableDescriptor::Read ReadableDescriptor::readAtMost(qsizetype most) const {
    QByteArray bytes(most, Qt::Uninitialized);
    ssize_t count = 0;
    do {
        count = ::read(fd_, bytes.data(), static_cast<size_t>(most));
    } while (count < 0 && errno == EINTR);
    if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
        return {};
    }
    if (count <= 0) {
        return {{}, true};
    }
    bytes.truncate(count);
    return {bytes, false};
}

// A socket the host has reset must not end the printer with SIGPIPE.
void ReadableDescriptor::writeSome(const QByteArray& bytes) const {
    const auto size = static_cast<size_t>(bytes.size());
    if (isSocket(fd_)) {
        [[maybe_unused]] const ssize_t sent =
            ::send(fd_, bytes.constData(), size, MSG_NOSIGNAL | MSG_DONTWAIT);
    } else {
        [[maybe_unused]] const ssize_t written = ::write(fd_, bytes.constData(), size);
    }
}
