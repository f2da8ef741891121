#include "socket_platform.h"

// SIO_TCP_INFO is declared for Windows 10 1703 and later; older systems refuse it at run time.
#define NTDDI_VERSION 0x0A000003
// mstcpip.h needs winsock2.h before it.
// clang-format off
#include <winsock2.h>
#include <mstcpip.h>
// clang-format on

namespace socket_platform {

void shutdownSending(std::intptr_t descriptor) {
    shutdown(static_cast<SOCKET>(descriptor), SD_SEND);
}

// Windows has no count of the send queue. SIO_TCP_INFO (Windows 10 1703 and later) tells the
// bytes sent and not yet acknowledged; bytes Winsock still holds behind a closed receive window
// are not among them. Older systems, and wine, answer nothing: the caller then counts only
// what Qt holds.
std::int64_t unacknowledgedBytes(std::intptr_t descriptor) {
    DWORD version = 0;
    TCP_INFO_v0 info{};
    DWORD returned = 0;
    if (WSAIoctl(static_cast<SOCKET>(descriptor), SIO_TCP_INFO, &version, sizeof version, &info,
                 sizeof info, &returned, nullptr, nullptr) != 0) {
        return -1;
    }
    return static_cast<std::int64_t>(info.BytesInFlight);
}

} // namespace socket_platform
