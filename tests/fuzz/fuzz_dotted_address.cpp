// The database server's address from the configuration file, as the reachability check reads
// it before every connection.
//
// Only what decides without the network is fuzzed: dottedToAddress for every text, and pingHost
// for texts of more than four dotted parts, which it refuses before any lookup or echo. Any
// other text would make pingHost resolve a name through DNS or send an ICMP echo.

#include "property_check.h"
#include "reachability.h"

#include <algorithm>
#include <stdexcept>

namespace {

bool refusedBeforeLookup(const std::string& host) {
    icmp_echo::EchoReply reply;
    try {
        pingHost(host, reply);
    } catch (const std::out_of_range&) {
        return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    const std::string text(reinterpret_cast<const char*>(bytes), size);
    const auto parts = std::count(text.begin(), text.end(), '.') + 1;
    try {
        const std::int32_t address = dottedToAddress(text);
        requireProperty(parts <= 4, "more than four parts are refused");
        requireProperty(parts == 4 || address == 0, "fewer than four parts give 0");
    } catch (const std::out_of_range&) {
        requireProperty(parts > 4, "only more than four parts are out of range");
    } catch (const std::invalid_argument&) {
        requireProperty(parts == 4, "only four parts are read as numbers");
    }
    if (parts > 4) {
        requireProperty(refusedBeforeLookup(text), "more than four parts are refused by pingHost");
    }
    return 0;
}
