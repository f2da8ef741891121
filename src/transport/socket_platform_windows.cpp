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
//
// A zero send buffer (SO_SNDBUF 0) is no count to fall back on. Microsoft's documentation
// promises only that Winsock then does not copy the data into a buffer of its own: "In most
// cases, the send completion in the application only indicates the data buffer in an
// application send call is copied to the Winsock kernel buffer and does not indicate that the
// data has hit the network medium. The only exception is when you disable the Winsock buffering
// by setting SO_SNDBUF to 0" (KB 214397), while "the successful completion of a send does not
// indicate that the data was successfully delivered" (send). Nowhere is a send said to complete
// only once the peer acknowledged its data; and Qt's sockets never block in send anyway. Where
// the call is refused, a printer that answers status requests tells instead (its answer to one
// sent behind the job), and for one that answers nothing the error log says that delivery cannot
// be confirmed.
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

// TCP_INFO_v0 counts no unanswered window probes and keeps no time of the last answer: a printer
// that went silent is found out when Windows itself ends the connection after its
// retransmissions, or at the job's limit.
std::int64_t unansweredMs(std::intptr_t /*descriptor*/) {
    return 0;
}

} // namespace socket_platform
