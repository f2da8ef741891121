#include "socket_platform.h"

#include <linux/sockios.h>
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

} // namespace socket_platform
