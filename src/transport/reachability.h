#pragma once

#include "icmp_echo.h"

#include <cstdint>
#include <string>

// The reachability check made before every database connection attempt: one echo of
// "Echo This", one attempt, 200 ms. Where the system refuses the program an ICMP socket, one TCP
// connection attempt to the database port decides within the same 200 ms.

// The port the driver connects to unless the settings row names another.
constexpr std::uint16_t defaultDatabasePort = 1433;

// The IPv4 address of a dotted text with the first octet in the lowest 8 bits; each part counts
// modulo 256. Texts without exactly four parts give 0. Throws std::out_of_range for a fifth part
// and std::invalid_argument for a part that is not a whole number.
std::int32_t dottedToAddress(const std::string& text);

// The echo time in milliseconds when the host answered (0 or more), otherwise minus the status
// of the failed echo. A host name is resolved first; a dotted text follows dottedToAddress,
// whose errors reach the caller. databasePort is the port the connection will go to.
std::int32_t pingHost(const std::string& host, icmp_echo::EchoReply& reply,
                      std::uint16_t databasePort = defaultDatabasePort);
