#include "printer_status.h"

#include "printer_trouble.h"

namespace printer_status {

namespace {

constexpr char dle = 0x10;
constexpr char eot = 0x04;

bool has(char byte, unsigned bits) {
    return (static_cast<unsigned char>(byte) & bits) != 0;
}

} // namespace

QByteArray statusRequest(Request request) {
    const char bytes[] = {dle, eot, static_cast<char>(request)};
    return QByteArray(bytes, sizeof bytes);
}

QByteArray printedRequest() {
    return QByteArrayLiteral("\x1d\x72\x01");
}

bool isStatusAnswer(char byte) {
    return (static_cast<unsigned char>(byte) & 0x93U) == 0x12U;
}

// Each pair of sensor bits is either both set or both clear.
bool saysPaperNearEnd(char printedAnswer) {
    return (static_cast<unsigned char>(printedAnswer) & 0x03U) == 0x03U;
}

bool isPrintedAnswer(char byte) {
    const auto value = static_cast<unsigned char>(byte);
    const auto pair = [value](unsigned shift) { return (value >> shift) & 0x03U; };
    return value < 0x10U && (pair(0) == 0 || pair(0) == 3) && (pair(2) == 0 || pair(2) == 3);
}

void PrinterState::apply(Request request, char answer) {
    switch (request) {
    case Request::printer:
        offline = has(answer, 0x08U);
        break;
    case Request::offlineCause:
        coverOpen = has(answer, 0x04U);
        paperEnd = has(answer, 0x20U);
        break;
    case Request::paperSensor:
        paperNearEnd = has(answer, 0x0CU);
        paperEnd = has(answer, 0x60U);
        break;
    }
}

QString PrinterState::stopReason() const {
    if (paperEnd) {
        return troubleDescription(PrinterTrouble::paperOut);
    }
    if (coverOpen) {
        return troubleDescription(PrinterTrouble::coverOpen);
    }
    if (offline) {
        return troubleDescription(PrinterTrouble::offline);
    }
    return {};
}

} // namespace printer_status
