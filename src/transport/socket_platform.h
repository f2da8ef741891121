#pragma once

#include <cstdint>

// What Qt's sockets do not offer, one implementation per platform.
namespace socket_platform {

// Ends the sending half of a connected TCP socket (the peer reads end of file), keeping the
// receiving half open.
void shutdownSending(std::intptr_t descriptor);

// Bytes handed to the connection that the peer has not yet acknowledged; -1 when the
// platform cannot tell.
std::int64_t unacknowledgedBytes(std::intptr_t descriptor);

} // namespace socket_platform
