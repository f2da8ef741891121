#include "listening_socket.h"

#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int kernelReceiveBufferBytes = 2048;
constexpr int listenQueue = 8;

struct SocketAddress {
    sockaddr_storage storage{};
    socklen_t length = 0;
};

SocketAddress socketAddress(const QHostAddress& address, quint16 port) {
    SocketAddress result;
    if (address.protocol() == QAbstractSocket::IPv6Protocol) {
        auto* ipv6 = reinterpret_cast<sockaddr_in6*>(&result.storage);
        ipv6->sin6_family = AF_INET6;
        ipv6->sin6_port = htons(port);
        const Q_IPV6ADDR bytes = address.toIPv6Address();
        std::memcpy(&ipv6->sin6_addr, &bytes, sizeof bytes);
        result.length = sizeof(sockaddr_in6);
    } else {
        auto* ipv4 = reinterpret_cast<sockaddr_in*>(&result.storage);
        ipv4->sin_family = AF_INET;
        ipv4->sin_port = htons(port);
        ipv4->sin_addr.s_addr = htonl(address.toIPv4Address());
        result.length = sizeof(sockaddr_in);
    }
    return result;
}

void setOption(int fd, int name, int value) {
    setsockopt(fd, SOL_SOCKET, name, &value, sizeof value);
}

} // namespace

int openListeningSocket(const QHostAddress& address, quint16 port) {
    const SocketAddress where = socketAddress(address, port);
    const int fd =
        socket(where.storage.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_TCP);
    if (fd >= 0) {
        setOption(fd, SO_REUSEADDR, 1);
        setOption(fd, SO_RCVBUF, kernelReceiveBufferBytes);
        if (bind(fd, reinterpret_cast<const sockaddr*>(&where.storage), where.length) == 0 &&
            listen(fd, listenQueue) == 0) {
            return fd;
        }
    }
    const int error = errno;
    if (fd >= 0) {
        close(fd);
    }
    throw std::runtime_error(QStringLiteral("cannot listen on %1:%2: %3")
                                 .arg(address.toString())
                                 .arg(port)
                                 .arg(QString::fromLocal8Bit(std::strerror(error)))
                                 .toStdString());
}
