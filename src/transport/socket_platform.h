#pragma once

#include <cstdint>

// What Qt's sockets do not offer, one implementation per platform.
namespace socket_platform {

// Ends the sending half of a connected TCP socket (the peer reads end of file), keeping the
// receiving half open.
void shutdownSending(std::intptr_t descriptor);

// Makes closing the socket reset the connection: what the peer has not yet taken is dropped
// instead of being delivered after the program gave up on it.
void resetOnClose(std::intptr_t descriptor);

// Of the bytes handed to the system since the connection was made, those the peer has not yet
// acknowledged, whether still queued or in flight; -1 when the platform cannot tell.
std::int64_t unacknowledgedBytes(std::intptr_t descriptor, std::int64_t handedToSystem);

// How long the peer has left the system's window probes or retransmissions unanswered, once
// more than one in a row went unanswered; 0 while it answers them, and where the platform cannot
// tell.
std::int64_t unansweredMs(std::intptr_t descriptor);

} // namespace socket_platform
