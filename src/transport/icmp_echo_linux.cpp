#include "icmp_echo.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <iostream>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/ip.h>
#include <netinet/ip_icmp.h> // ICMP_ECHO, ICMP_ECHOREPLY
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace icmp_echo {

namespace {

using Clock = std::chrono::steady_clock;

struct IcmpSocket {
    int fd = -1;
    bool raw = false; // raw sockets deliver the IP header and every ICMP message of the host

    ~IcmpSocket() {
        if (fd >= 0) {
            close(fd);
        }
    }
};

// Raw sockets need root or CAP_NET_RAW; unprivileged "ping sockets" need ping_group_range.
bool openSocket(IcmpSocket& socket) {
    socket.fd = ::socket(AF_INET, SOCK_RAW, IPPROTO_ICMP);
    socket.raw = socket.fd >= 0;
    if (socket.fd < 0) {
        socket.fd = ::socket(AF_INET, SOCK_DGRAM, IPPROTO_ICMP);
    }
    return socket.fd >= 0;
}

void reportNoSocketOnce(int error) {
    static bool reported = false;
    if (!reported) {
        reported = true;
        std::cerr << "kitchen-print-server: no ICMP socket (" << std::strerror(error)
                  << "); the database server is taken as reachable and the driver's timeout "
                     "decides\n";
    }
}

std::uint16_t checksum(const std::vector<unsigned char>& bytes) {
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        const std::uint32_t high = bytes[i];
        const std::uint32_t low = i + 1 < bytes.size() ? bytes[i + 1] : 0;
        sum += (high << 8) | low;
    }
    while (sum >> 16) {
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    return static_cast<std::uint16_t>(~sum);
}

std::vector<unsigned char> echoRequest(std::uint16_t id, std::uint16_t sequence,
                                       std::string_view data) {
    std::vector<unsigned char> packet(8 + data.size(), 0);
    packet[0] = ICMP_ECHO;
    packet[4] = static_cast<unsigned char>(id >> 8);
    packet[5] = static_cast<unsigned char>(id);
    packet[6] = static_cast<unsigned char>(sequence >> 8);
    packet[7] = static_cast<unsigned char>(sequence);
    std::memcpy(packet.data() + 8, data.data(), data.size());
    const std::uint16_t sum = checksum(packet);
    packet[2] = static_cast<unsigned char>(sum >> 8);
    packet[3] = static_cast<unsigned char>(sum);
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

// On loopback a raw socket also receives our own request: only an echo reply carrying our
// identifier and sequence number counts. Ping sockets rewrite the identifier themselves.
bool isOurReply(const IcmpSocket& socket, const unsigned char* message, std::size_t length,
                std::uint16_t id, std::uint16_t sequence) {
    if (socket.raw) {
        if (length < sizeof(iphdr)) {
            return false;
        }
        const std::size_t headerLength = std::size_t{message[0] & 0x0Fu} * 4;
        if (length < headerLength + 8) {
            return false;
        }
        message += headerLength;
    } else if (length < 8) {
        return false;
    }
    const std::uint16_t replyId = static_cast<std::uint16_t>((message[4] << 8) | message[5]);
    const std::uint16_t replySequence = static_cast<std::uint16_t>((message[6] << 8) | message[7]);
    return message[0] == ICMP_ECHOREPLY && replySequence == sequence &&
           (!socket.raw || replyId == id);
}

std::uint32_t millisecondsSince(Clock::time_point start) {
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

int awaitReply(const IcmpSocket& socket, std::uint16_t id, std::uint16_t sequence, int timeoutMs,
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
        if (received > 0 &&
            isOurReply(socket, buffer, static_cast<std::size_t>(received), id, sequence)) {
            reply.status = 0;
            reply.roundTripMs = millisecondsSince(sent);
            return 1;
        }
    }
    reply.status = statusTimedOut;
    return 0;
}

} // namespace

int sendEcho(std::uint32_t address, std::string_view data, int timeoutMs, EchoReply& reply) {
    IcmpSocket socket;
    if (!openSocket(socket)) {
        reportNoSocketOnce(errno);
        reply = EchoReply{};
        return 1;
    }
    static std::uint16_t nextSequence = 0;
    const auto id = static_cast<std::uint16_t>(getpid());
    const auto sequence = ++nextSequence;
    const std::vector<unsigned char> packet = echoRequest(id, sequence, data);
    const sockaddr_in destination = destinationOf(address);
    const auto sent = Clock::now();
    if (sendto(socket.fd, packet.data(), packet.size(), 0,
               reinterpret_cast<const sockaddr*>(&destination), sizeof destination) < 0) {
        const bool unreachable = errno == ENETUNREACH || errno == EHOSTUNREACH;
        reply.status = unreachable ? statusDestinationUnreachable : statusGeneralFailure;
        return 0;
    }
    return awaitReply(socket, id, sequence, timeoutMs, sent, reply);
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
