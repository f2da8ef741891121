#include "reachability.h"

#include "port_probe.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <stdexcept>
#include <vector>

namespace {

constexpr std::string_view echoData = "Echo This";
constexpr int echoTimeoutMs = 200;

std::vector<std::string> splitAtDots(const std::string& text) {
    std::vector<std::string> parts(1);
    for (const char c : text) {
        if (c == '.') {
            parts.emplace_back();
        } else {
            parts.back() += c;
        }
    }
    return parts;
}

std::optional<long long> wholeNumber(std::string part) {
    part.erase(0, part.find_first_not_of(' '));
    part.erase(part.find_last_not_of(' ') + 1);
    if (!part.empty() && part.front() == '+') {
        part.erase(0, 1);
    }
    long long value = 0;
    const auto [end, error] = std::from_chars(part.data(), part.data() + part.size(), value);
    if (part.empty() || error != std::errc() || end != part.data() + part.size()) {
        return std::nullopt;
    }
    return value;
}

bool isDottedNumbers(const std::vector<std::string>& parts) {
    return parts.size() == 4 && std::all_of(parts.begin(), parts.end(), [](const auto& part) {
               return wholeNumber(part).has_value();
           });
}

// Dotted addresses keep the rules of dottedToAddress; anything else is a host name, resolved so
// that a server given by name is checked at its real address.
std::optional<std::uint32_t> addressOf(const std::string& host) {
    const std::vector<std::string> parts = splitAtDots(host);
    if (parts.size() > 4 || isDottedNumbers(parts)) {
        return static_cast<std::uint32_t>(dottedToAddress(host));
    }
    return icmp_echo::resolveIpv4(host);
}

} // namespace

std::int32_t dottedToAddress(const std::string& text) {
    const std::vector<std::string> parts = splitAtDots(text);
    if (parts.size() > 4) {
        throw std::out_of_range("address text has more than four parts: " + text);
    }
    if (parts.size() != 4) {
        return 0;
    }
    std::uint32_t address = 0;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::optional<long long> value = wholeNumber(parts[i]);
        if (!value) {
            throw std::invalid_argument("address part is not a number: " + text);
        }
        address |= (static_cast<std::uint32_t>(*value) & 0xFFu) << (8 * i);
    }
    return static_cast<std::int32_t>(address);
}

std::int32_t pingHost(const std::string& host, icmp_echo::EchoReply& reply,
                      std::uint16_t databasePort) {
    const std::optional<std::uint32_t> address = addressOf(host);
    if (!address) {
        reply.status = icmp_echo::statusBadDestination;
        return -static_cast<std::int32_t>(reply.status);
    }
    icmp_echo::Echo outcome = icmp_echo::sendEcho(*address, echoData, echoTimeoutMs, reply);
    if (outcome == icmp_echo::Echo::unavailable) {
        outcome = port_probe::tryConnection(*address, databasePort, echoTimeoutMs, reply);
    }
    if (outcome == icmp_echo::Echo::answered) {
        return static_cast<std::int32_t>(reply.roundTripMs);
    }
    return -static_cast<std::int32_t>(reply.status);
}
