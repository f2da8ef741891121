#include "status_bytes.h"

namespace status_bytes {

namespace {

constexpr unsigned char fixedBits = 0x12;
constexpr unsigned char offlineBit = 0x08;
constexpr unsigned char coverOpenBit = 0x04;
constexpr unsigned char stoppedAtPaperEndBit = 0x20;
constexpr unsigned char nearEndBits = 0x0C;
constexpr unsigned char paperEndBits = 0x60;
constexpr char paperNearEndSensor = 0x03;

unsigned char setIf(bool condition, unsigned char bits) {
    return condition ? bits : 0;
}

} // namespace

std::optional<char> realTime(int n, const PrinterState& state) {
    const bool out = state.paper == PaperLevel::Out;
    unsigned char bits = fixedBits;
    switch (n) {
    case 1:
        bits |= setIf(state.offline(), offlineBit);
        break;
    case 2:
        bits |= setIf(state.coverOpen, coverOpenBit) | setIf(out, stoppedAtPaperEndBit);
        break;
    case 3:
        break;
    case 4:
        bits |= setIf(state.paper == PaperLevel::NearEnd, nearEndBits) | setIf(out, paperEndBits);
        break;
    default:
        return std::nullopt;
    }
    return static_cast<char>(bits);
}

char sensor(StatusRequest::Sensor sensor, const PrinterState& state) {
    const bool nearEnd =
        sensor == StatusRequest::Sensor::Paper && state.paper == PaperLevel::NearEnd;
    return nearEnd ? paperNearEndSensor : char{0};
}

} // namespace status_bytes
