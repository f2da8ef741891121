#include "socket_platform.h"

// SIO_TCP_INFO is declared for Windows 10 1703 and later; older systems refuse it at run time.
#define NTDDI_VERSION 0x0A000003
// mstcpip.h needs winsock2.h before it.
// clang-format off
#include <winsock2.h>
#include <mstcpip.h>
// clang-format on

#include <algorithm>

namespace socket_platform {

void shutdownSending(std::intptr_t descriptor) {
    shutdown(static_cast<SOCKET>(descriptor), SD_SEND);
}

void resetOnClose(std::intptr_t descriptor) {
    const linger immediately{1, 0};
    setsockopt(static_cast<SOCKET>(descriptor), SOL_SOCKET, SO_LINGER,
               reinterpret_cast<const char*>(&immediately), sizeof immediately);
}

// Windows has no count of its send queue, and BytesInFlight leaves out what Winsock still holds
// behind a closed receive window. What the peer acknowledged is counted instead: BytesOut counts
// every byte put on the wire, retransmitted copies included (as the extended TCP statistics it
// comes from define it), so BytesOut - BytesRetrans are the distinct bytes sent, and of those all
// but BytesInFlight are acknowledged. Whatever was handed over beyond that is queued or in
// flight. Should a count leave a byte out, the result only grows: a job is never taken for
// delivered too early. Before Windows 10 1703, and under wine, the call is refused.
std::int64_t unacknowledgedBytes(std::intptr_t descriptor, std::int64_t handedToSystem) {
    DWORD version = 0;
    TCP_INFO_v0 info{};
    DWORD returned = 0;
    if (WSAIoctl(static_cast<SOCKET>(descriptor), SIO_TCP_INFO, &version, sizeof version, &info,
                 sizeof info, &returned, nullptr, nullptr) != 0) {
        return -1;
    }
    const auto sent =
        static_cast<std::int64_t>(info.BytesOut) - static_cast<std::int64_t>(info.BytesRetrans);
    const std::int64_t acknowledged = sent - static_cast<std::int64_t>(info.BytesInFlight);
    return std::max<std::int64_t>(handedToSystem - acknowledged, 0);
}

} // namespace socket_platform
