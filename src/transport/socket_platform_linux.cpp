#include "socket_platform.h"

#include <linux/sockios.h>
#include <sys/ioctl.h>
#include <sys/socket.h>

namespace socket_platform {

void shutdownSending(std::intptr_t descriptor) {
    shutdown(static_cast<int>(descriptor), SHUT_WR);
}

std::int64_t unacknowledgedBytes(std::intptr_t descriptor) {
    int queued = 0;
    if (ioctl(static_cast<int>(descriptor), SIOCOUTQ, &queued) != 0) {
        return -1;
    }
    return queued;
}

} // namespace socket_platform
