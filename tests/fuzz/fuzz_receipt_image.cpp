// The virtual printer's receipt image, drawn from whatever stream it decoded: its height must be
// what the lines ask for, without overflow.

#include "escpos_decoder.h"
#include "paper.h"
#include "property_check.h"
#include "receipt_image.h"

#include <QGuiApplication>

namespace {

constexpr qint64 marginDots = 12 + 36; // above and below the lines
constexpr qint64 lineSpacingDots = 6;
constexpr qint64 tallestLineDots = 16 * qint64{paper::cellHeight} + lineSpacingDots;
// A byte ends at most one line, or prints as at most 4 characters ("[1B]"), each of which may
// start a line.
constexpr qint64 linesPerByte = 4;

qint64 heightOf(const Receipt& receipt) {
    qint64 dots = marginDots;
    for (const PaperLine& line : receipt.lines) {
        dots += qint64{line.height()} * paper::cellHeight + lineSpacingDots;
    }
    return dots;
}

void checkImage(const Receipt& receipt, qsizetype streamSize) {
    const auto lines = static_cast<qint64>(receipt.lines.size());
    requireProperty(lines <= linesPerByte * streamSize + 1,
                    "a receipt has at most a few lines per byte received");
    const qint64 height = heightOf(receipt);
    requireProperty(height <= marginDots + tallestLineDots * lines,
                    "a line is at most 16 cells high");
    requireProperty(receiptImage(receipt).height() == height,
                    "the image is as high as its lines and margins");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Fonts for the image. Never destroyed: its font caches live as long as the process.
    [[maybe_unused]] static const auto* application = new QGuiApplication(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    const QByteArray stream(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(size));
    EscPosDecoder decoder;
    for (const PrinterEvent& event : decoder.feed(stream)) {
        if (const auto* cut = std::get_if<CutReceipt>(&event)) {
            checkImage(cut->receipt, stream.size());
        }
    }
    checkImage(decoder.takeUncut(), stream.size());
    return 0;
}
