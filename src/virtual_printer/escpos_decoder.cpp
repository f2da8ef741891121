#include "escpos_decoder.h"

#include "codepage949.h"

#include <optional>
#include <utility>

namespace {

constexpr char esc = 0x1B;
constexpr char gs = 0x1D;
constexpr char lineFeed = 0x0A;
constexpr char carriageReturn = 0x0D;

bool isPrintableAscii(unsigned char byte) {
    return byte >= 0x20 && byte < 0x7F;
}

bool isLeadByte(unsigned char byte) {
    return byte >= 0x81 && byte <= 0xFE;
}

bool isTrailByte(unsigned char byte) {
    return byte >= 0x41 && byte <= 0xFE;
}

// Bytes of the character at the front: 0 when it is no text, or a lead byte still waiting.
qsizetype characterLength(QByteArrayView bytes) {
    const auto first = static_cast<unsigned char>(bytes[0]);
    if (isPrintableAscii(first)) {
        return 1;
    }
    if (isLeadByte(first) && bytes.size() > 1 &&
        isTrailByte(static_cast<unsigned char>(bytes[1]))) {
        return 2;
    }
    return 0;
}

std::optional<Alignment> alignmentFor(char n) {
    switch (n) {
    case 0:
    case '0':
        return Alignment::Left;
    case 1:
    case '1':
        return Alignment::Center;
    case 2:
    case '2':
        return Alignment::Right;
    default:
        return std::nullopt;
    }
}

// GS r 1 (or '1') asks after the paper sensor, GS r 2 (or '2') after the drawer connector.
std::optional<StatusRequest::Sensor> sensorFor(char n) {
    switch (n) {
    case 1:
    case '1':
        return StatusRequest::Sensor::Paper;
    case 2:
    case '2':
        return StatusRequest::Sensor::Drawer;
    default:
        return std::nullopt;
    }
}

bool isStatusRequest(const std::vector<PrinterEvent>& events, std::size_t before) {
    return events.size() > before && std::holds_alternative<StatusRequest>(events.back());
}

} // namespace

std::vector<PrinterEvent> EscPosDecoder::feed(const QByteArray& bytes) {
    pending_ += bytes;
    std::vector<PrinterEvent> events;
    qsizetype at = 0;
    while (at < pending_.size()) {
        const QByteArrayView front = QByteArrayView(pending_).sliced(at);
        const std::size_t before = events.size();
        const qsizetype used = decodeFront(front, events);
        if (used == 0) {
            break;
        }
        if (!isStatusRequest(events, before)) {
            printed_ += front.first(used);
        }
        at += used;
    }
    pending_.remove(0, at);
    return events;
}

Receipt EscPosDecoder::takeUncut() {
    if (!pending_.isEmpty()) {
        paper_.appendUnknown(pending_);
        printed_ += pending_;
        pending_.clear();
    }
    return paper_.takeReceipt();
}

QByteArray EscPosDecoder::takePrinted() {
    return std::exchange(printed_, {});
}

qsizetype EscPosDecoder::decodeFront(QByteArrayView bytes, std::vector<PrinterEvent>& events) {
    switch (bytes[0]) {
    case esc:
        return escCommand(bytes, events);
    case gs:
        return gsCommand(bytes, events);
    case lineFeed:
        paper_.endLine();
        return 1;
    case carriageReturn:
        return 1;
    default:
        break;
    }
    if (characterLength(bytes) > 0) {
        return textRun(bytes);
    }
    if (isLeadByte(static_cast<unsigned char>(bytes[0])) && bytes.size() == 1) {
        return 0;
    }
    paper_.appendUnknown(bytes.first(1));
    return 1;
}

// ESC a n justifies, ESC i and ESC m cut, ESC p m t1 t2 pulses the drawer. Any other ESC is
// taken with its next byte, which is right for the common ones.
qsizetype EscPosDecoder::escCommand(QByteArrayView bytes, std::vector<PrinterEvent>& events) {
    if (bytes.size() < 2) {
        return 0;
    }
    switch (bytes[1]) {
    case 'a':
        return alignment(bytes);
    case 'i':
    case 'm':
        events.emplace_back(CutReceipt{paper_.takeReceipt()});
        return 2;
    case 'p':
        if (bytes.size() < 5) {
            return 0;
        }
        events.emplace_back(DrawerKick{});
        return 5;
    default:
        paper_.appendUnknown(bytes.first(2));
        return 2;
    }
}

qsizetype EscPosDecoder::gsCommand(QByteArrayView bytes, std::vector<PrinterEvent>& events) {
    if (bytes.size() < 2) {
        return 0;
    }
    switch (bytes[1]) {
    case '!':
        return characterSize(bytes);
    case 'r':
        return statusRequest(bytes, events);
    default:
        paper_.appendUnknown(bytes.first(2));
        return 2;
    }
}

// GS ! n sets the size: width (n >> 4) + 1, height (n & 0x0F) + 1.
qsizetype EscPosDecoder::characterSize(QByteArrayView bytes) {
    if (bytes.size() < 3) {
        return 0;
    }
    const auto n = static_cast<unsigned char>(bytes[2]);
    paper_.setSize({(n >> 4) + 1, (n & 0x0F) + 1});
    return 3;
}

qsizetype EscPosDecoder::statusRequest(QByteArrayView bytes, std::vector<PrinterEvent>& events) {
    if (bytes.size() < 3) {
        return 0;
    }
    const std::optional<StatusRequest::Sensor> sensor = sensorFor(bytes[2]);
    if (sensor) {
        events.emplace_back(StatusRequest{*sensor});
    } else {
        paper_.appendUnknown(bytes.first(3));
    }
    return 3;
}

qsizetype EscPosDecoder::alignment(QByteArrayView bytes) {
    if (bytes.size() < 3) {
        return 0;
    }
    const std::optional<Alignment> chosen = alignmentFor(bytes[2]);
    if (chosen) {
        paper_.setAlignment(*chosen);
    } else {
        paper_.appendUnknown(bytes.first(3));
    }
    return 3;
}

qsizetype EscPosDecoder::textRun(QByteArrayView bytes) {
    qsizetype length = 0;
    while (length < bytes.size()) {
        const qsizetype next = characterLength(bytes.sliced(length));
        if (next == 0) {
            break;
        }
        length += next;
    }
    paper_.appendText(fromCodePage949(bytes.first(length).toByteArray()));
    return length;
}
