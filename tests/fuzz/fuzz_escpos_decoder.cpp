// The virtual printer's decoder on whatever a print server or a stranger sends it, in whatever
// pieces the network or the serial line delivers it.

#include "escpos_decoder.h"
#include "property_check.h"

#include <algorithm>
#include <fuzzer/FuzzedDataProvider.h>

namespace {

bool sameRun(const TextRun& a, const TextRun& b) {
    return a.text == b.text && a.size == b.size;
}

bool sameLine(const PaperLine& a, const PaperLine& b) {
    return a.alignment == b.alignment &&
           std::equal(a.runs.begin(), a.runs.end(), b.runs.begin(), b.runs.end(), sameRun);
}

bool sameReceipt(const Receipt& a, const Receipt& b) {
    return std::equal(a.lines.begin(), a.lines.end(), b.lines.begin(), b.lines.end(), sameLine);
}

bool sameEvent(const PrinterEvent& a, const PrinterEvent& b) {
    const auto* cutA = std::get_if<CutReceipt>(&a);
    const auto* cutB = std::get_if<CutReceipt>(&b);
    return a.index() == b.index() && (!cutA || sameReceipt(cutA->receipt, cutB->receipt));
}

// Everything the printer did with a stream: its events, then the paper left uncut.
struct Printout {
    std::vector<PrinterEvent> events;
    Receipt uncut;
};

bool samePrintout(const Printout& a, const Printout& b) {
    return std::equal(a.events.begin(), a.events.end(), b.events.begin(), b.events.end(),
                      sameEvent) &&
           sameReceipt(a.uncut, b.uncut);
}

Printout printed(const QByteArray& stream, const std::vector<qsizetype>& chunkSizes) {
    EscPosDecoder decoder;
    Printout printout;
    qsizetype at = 0;
    for (const qsizetype chunkSize : chunkSizes) {
        const QByteArray chunk = stream.mid(at, chunkSize);
        at += chunk.size();
        for (PrinterEvent& event : decoder.feed(chunk)) {
            printout.events.push_back(std::move(event));
        }
    }
    for (PrinterEvent& event : decoder.feed(stream.mid(at))) {
        printout.events.push_back(std::move(event));
    }
    printout.uncut = decoder.takeUncut();
    return printout;
}

} // namespace

// The input is the stream, then the sizes of its first chunks (one byte each, last first), then
// their count; the rest of the stream is the last chunk.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FuzzedDataProvider data(bytes, size);
    std::vector<qsizetype> chunkSizes(data.ConsumeIntegral<uint8_t>());
    for (qsizetype& chunkSize : chunkSizes) {
        chunkSize = data.ConsumeIntegral<uint8_t>();
    }
    const std::string remaining = data.ConsumeRemainingBytesAsString();
    const QByteArray stream(remaining.data(), static_cast<qsizetype>(remaining.size()));

    requireProperty(samePrintout(printed(stream, chunkSizes), printed(stream, {})),
                    "the stream prints the same however it is split");
    return 0;
}
