#pragma once

#include "icmp_echo.h"

#include <cstdint>

// The reachability check where the system gives no ICMP echo: one TCP connection attempt to a
// port of the host. A connection accepted or actively refused means the host is there; no
// answer within the time, or no route to it, means it is not. The outcome and its status take
// the form of an echo's, so that the check reads the same either way.
namespace port_probe {

icmp_echo::Echo tryConnection(std::uint32_t address, std::uint16_t port, int timeoutMs,
                              icmp_echo::EchoReply& reply);

} // namespace port_probe
