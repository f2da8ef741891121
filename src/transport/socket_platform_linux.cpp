#include "socket_platform.h"

#include <linux/sockios.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/ioctl.h>
#include <sys/socket.h>

namespace socket_platform {

void shutdownSending(std::intptr_t descriptor) {
    shutdown(static_cast<int>(descriptor), SHUT_WR);
}

void resetOnClose(std::intptr_t descriptor) {
    const linger immediately{1, 0};
    setsockopt(static_cast<int>(descriptor), SOL_SOCKET, SO_LINGER, &immediately,
               sizeof immediately);
}

// The send queue counts what is not yet sent and what is sent but not acknowledged.
std::int64_t unacknowledgedBytes(std::intptr_t descriptor, std::int64_t /*handedToSystem*/) {
    int queued = 0;
    if (ioctl(static_cast<int>(descriptor), SIOCOUTQ, &queued) != 0) {
        return -1;
    }
    return queued;
}

// A printer that is there answers every window probe at once, even with its window closed,
// and each answer resets the count of unanswered ones. The probes come ever further apart while
// the window stays closed, so right after one is sent the last answer may be long ago: one
// unanswered probe says nothing yet, two in a row mean the printer no longer answers.
// TCP_USER_TIMEOUT is no use here: it also ends a connection whose window merely stayed closed
// that long, every probe answered.
std::int64_t unansweredMs(std::intptr_t descriptor) {
    tcp_info info{};
    socklen_t size = sizeof info;
    if (getsockopt(static_cast<int>(descriptor), IPPROTO_TCP, TCP_INFO, &info, &size) != 0) {
        return 0;
    }
    if (info.tcpi_probes < 2 && info.tcpi_retransmits < 2) {
        return 0;
    }
    return info.tcpi_last_ack_recv;
}

} // namespace socket_platform
