#include "socket_platform.h"

#include <sys/socket.h>

namespace socket_platform {

void shutdownSending(std::intptr_t descriptor) {
    shutdown(static_cast<int>(descriptor), SHUT_WR);
}

} // namespace socket_platform
