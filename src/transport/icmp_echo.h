#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// One ICMP echo, one implementation per platform. Addresses are 32-bit values with the first
// octet in the lowest 8 bits, as the reachability check computes them.
namespace icmp_echo {

// Status values of a failed echo, numbered as the Windows ICMP helper numbers them so that the
// check's result keeps one meaning on every platform.
constexpr std::uint32_t statusDestinationUnreachable = 11003;
constexpr std::uint32_t statusTimedOut = 11010;
constexpr std::uint32_t statusBadDestination = 11018;
constexpr std::uint32_t statusGeneralFailure = 11050;

enum class Echo {
    answered,
    unanswered,
    // The system gives this program no ICMP socket or handle: the caller decides another way.
    unavailable,
};

struct EchoReply {
    std::uint32_t status = 0;
    std::uint32_t roundTripMs = 0;
    // Decided by a connection attempt to the database port, the system giving no echo.
    bool byConnection = false;
};

// Sends one echo request carrying data and waits up to timeoutMs for its reply, which is stored
// in reply when answered; when unanswered, reply.status says why.
Echo sendEcho(std::uint32_t address, std::string_view data, int timeoutMs, EchoReply& reply);

// The first IPv4 address of a host name, in the same form.
std::optional<std::uint32_t> resolveIpv4(const std::string& hostName);

} // namespace icmp_echo
