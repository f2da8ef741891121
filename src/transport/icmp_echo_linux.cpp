#include "icmp_echo.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <iostream>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/ip_icmp.h> // ICMP_ECHO, ICMP_ECHOREPLY
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace icmp_echo {

namespace {

using Clock = std::chrono::steady_clock;

// The unprivileged ICMP socket ("ping socket"): the kernel allows it to the groups in
// net.ipv4.ping_group_range, sets the identifier itself and hands the socket only the echo
// replies that carry it, without their IP header.
struct PingSocket {
    int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP);

    PingSocket() = default;
    PingSocket(const PingSocket&) = delete;
    PingSocket& operator=(const PingSocket&) = delete;
    ~PingSocket() {
        if (fd >= 0) {
            close(fd);
        }
    }
};

// Errors by which the system refuses ping sockets to this program as such (its groups are
// outside the range, or the kernel has none), rather than failing one echo.
bool isRefusal(int error) {
    return error == EACCES || error == EPERM || error == EPROTONOSUPPORT;
}

void reportRefusalOnce(int error) {
    static bool reported = false;
    if (!reported) {
        reported = true;
        std::cerr << "kitchen-print-server: no ICMP socket (" << std::strerror(error)
                  << "); the database server's reachability is checked by a TCP connection "
                     "attempt to its port\n";
    }
}

// Identifier and checksum stay 0: the kernel fills in both.
std::vector<unsigned char> echoRequest(std::uint16_t sequence, std::string_view data) {
    std::vector<unsigned char> packet(8 + data.size(), 0);
    packet[0] = ICMP_ECHO;
    packet[6] = static_cast<unsigned char>(sequence >> 8);
    packet[7] = static_cast<unsigned char>(sequence);
    std::memcpy(packet.data() + 8, data.data(), data.size());
    return packet;
}

sockaddr_in destinationOf(std::uint32_t address) {
    sockaddr_in destination{};
    destination.sin_family = AF_INET;
    const unsigned char octets[4] = {
        static_cast<unsigned char>(address), static_cast<unsigned char>(address >> 8),
        static_cast<unsigned char>(address >> 16), static_cast<unsigned char>(address >> 24)};
    std::memcpy(&destination.sin_addr, octets, 4);
    return destination;
}

// The kernel has already matched the identifier; the sequence number tells this echo's reply.
bool isOurReply(const unsigned char* message, std::size_t length, std::uint16_t sequence) {
    if (length < 8) {
        return false;
    }
    const std::uint16_t replySequence = static_cast<std::uint16_t>((message[6] << 8) | message[7]);
    return message[0] == ICMP_ECHOREPLY && replySequence == sequence;
}

std::uint32_t millisecondsSince(Clock::time_point start) {
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

Echo awaitReply(const PingSocket& socket, std::uint16_t sequence, int timeoutMs,
                Clock::time_point sent, EchoReply& reply) {
    const auto deadline = sent + std::chrono::milliseconds(timeoutMs);
    unsigned char buffer[1500];
    for (auto now = Clock::now(); now < deadline; now = Clock::now()) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now);
        pollfd waiting{socket.fd, POLLIN, 0};
        if (poll(&waiting, 1, static_cast<int>(left.count()) + 1) <= 0) {
            continue;
        }
        const ssize_t received = recv(socket.fd, buffer, sizeof buffer, 0);
        if (received > 0 && isOurReply(buffer, static_cast<std::size_t>(received), sequence)) {
            reply.status = 0;
            reply.roundTripMs = millisecondsSince(sent);
            return Echo::answered;
        }
    }
    reply.status = statusTimedOut;
    return Echo::unanswered;
}

} // namespace

Echo sendEcho(std::uint32_t address, std::string_view data, int timeoutMs, EchoReply& reply) {
    const PingSocket socket;
    if (socket.fd < 0) {
        const int error = errno;
        if (isRefusal(error)) {
            reportRefusalOnce(error);
            return Echo::unavailable;
        }
        reply.status = statusGeneralFailure;
        return Echo::unanswered;
    }
    static std::uint16_t nextSequence = 0;
    const auto sequence = ++nextSequence;
    const std::vector<unsigned char> packet = echoRequest(sequence, data);
    const sockaddr_in destination = destinationOf(address);
    const auto sent = Clock::now();
    if (sendto(socket.fd, packet.data(), packet.size(), 0,
               reinterpret_cast<const sockaddr*>(&destination), sizeof destination) < 0) {
        const bool unreachable = errno == ENETUNREACH || errno == EHOSTUNREACH;
        reply.status = unreachable ? statusDestinationUnreachable : statusGeneralFailure;
        return Echo::unanswered;
    }
    return awaitReply(socket, sequence, timeoutMs, sent, reply);
}

std::optional<std::uint32_t> resolveIpv4(const std::string& hostName) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* found = nullptr;
    if (getaddrinfo(hostName.c_str(), nullptr, &hints, &found) != 0 || found == nullptr) {
        return std::nullopt;
    }
    unsigned char octets[4];
    std::memcpy(octets, &reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr, 4);
    freeaddrinfo(found);
    return static_cast<std::uint32_t>(octets[0] | (octets[1] << 8) | (octets[2] << 16) |
                                      (static_cast<std::uint32_t>(octets[3]) << 24));
}

} // namespace icmp_echo
