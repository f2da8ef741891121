#include "icmp_echo.h"

// The ICMP helper's headers need the socket headers before them.
// clang-format off
#include <winsock2.h>
#include <ws2tcpip.h>
#include <iphlpapi.h>
#include <icmpapi.h>
// clang-format on

#include <cstring>
#include <iostream>
#include <string>
#include <vector>

// Each echo is bracketed by the start and release of the socket layer, whose problems are shown
// in a standard message box and do not stop the echo.
namespace icmp_echo {

namespace {

constexpr WORD requestedVersion = 0x0101;

void showWarning(const std::string& text, UINT icon) {
    MessageBoxA(nullptr, text.c_str(), "", MB_OK | icon);
}

bool startSocketLayer() {
    WSADATA granted{};
    if (WSAStartup(requestedVersion, &granted) != 0) {
        showWarning("Windows Sockets for 32 bit Windows environments is not successfully "
                    "responding.",
                    0);
        return false;
    }
    const int major = LOBYTE(granted.wVersion);
    const int minor = HIBYTE(granted.wVersion);
    if (major < 1 || (major == 1 && minor < 1)) {
        showWarning("Windows Sockets Version " + std::to_string(major) + "." +
                        std::to_string(minor) +
                        " is not supported by Windows Sockets for 32 bit Windows environments.",
                    MB_ICONWARNING);
        return false;
    }
    // Winsock 2 leaves the socket limit at 0 ("no limit"); only version 1 answers count it.
    if (major == 1 && static_cast<short>(granted.iMaxSockets) < 1) {
        showWarning("This application requires a minimum of 1 supported sockets.", MB_ICONWARNING);
        return false;
    }
    return true;
}

bool stopSocketLayer() {
    const int result = WSACleanup();
    if (result != 0) {
        showWarning("Windows Sockets error " + std::to_string(result) + " occurred in Cleanup.",
                    MB_ICONWARNING);
        return false;
    }
    return true;
}

void reportNoHandleOnce() {
    static bool reported = false;
    if (!reported) {
        reported = true;
        std::cerr << "kitchen-print-server: no ICMP handle (error " << GetLastError()
                  << "); the database server's reachability is checked by a TCP connection "
                     "attempt to its port\n";
    }
}

// A failed echo whose reply record carries no status is still a failed echo: the reason then
// comes from the last error, so that an unanswered server is never taken as reachable.
std::uint32_t failureStatus(const ICMP_ECHO_REPLY& record) {
    if (record.Status != 0) {
        return record.Status;
    }
    const DWORD error = GetLastError();
    return error >= IP_STATUS_BASE && error <= IP_GENERAL_FAILURE ? error : statusGeneralFailure;
}

Echo echo(std::uint32_t address, std::string_view data, int timeoutMs, EchoReply& reply) {
    const HANDLE icmp = IcmpCreateFile();
    if (icmp == INVALID_HANDLE_VALUE) {
        reportNoHandleOnce();
        return Echo::unavailable;
    }
    std::vector<char> request(data.begin(), data.end());
    // One reply record, room for 250 bytes of echoed data and for an ICMP error message.
    std::vector<unsigned char> replyBuffer(sizeof(ICMP_ECHO_REPLY) + 250 + 8, 0);
    const DWORD replies = IcmpSendEcho(
        icmp, address, request.data(), static_cast<WORD>(request.size()), nullptr,
        replyBuffer.data(), static_cast<DWORD>(replyBuffer.size()), static_cast<DWORD>(timeoutMs));
    ICMP_ECHO_REPLY record{};
    std::memcpy(&record, replyBuffer.data(), sizeof record);
    if (replies != 0) {
        reply.status = 0;
        reply.roundTripMs = record.RoundTripTime;
    } else {
        reply.status = failureStatus(record);
    }
    IcmpCloseHandle(icmp);
    return replies != 0 ? Echo::answered : Echo::unanswered;
}

} // namespace

Echo sendEcho(std::uint32_t address, std::string_view data, int timeoutMs, EchoReply& reply) {
    startSocketLayer();
    const Echo outcome = echo(address, data, timeoutMs, reply);
    stopSocketLayer();
    return outcome;
}

std::optional<std::uint32_t> resolveIpv4(const std::string& hostName) {
    WSADATA granted{};
    if (WSAStartup(MAKEWORD(2, 2), &granted) != 0) {
        return std::nullopt;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* found = nullptr;
    std::optional<std::uint32_t> address;
    if (getaddrinfo(hostName.c_str(), nullptr, &hints, &found) == 0 && found != nullptr) {
        unsigned char octets[4];
        std::memcpy(octets, &reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr, 4);
        freeaddrinfo(found);
        address = static_cast<std::uint32_t>(octets[0] | (octets[1] << 8) | (octets[2] << 16) |
                                             (static_cast<std::uint32_t>(octets[3]) << 24));
    }
    WSACleanup();
    return address;
}

} // namespace icmp_echo
