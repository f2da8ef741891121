#include "virtual_printer.h"

#include "receipt_image.h"
#include "receipt_text.h"

#include <cstdio>
#include <stdexcept>

namespace {

void writeToStandardOutput(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout);
    std::fflush(stdout);
}

[[noreturn]] void refuse(const QString& what) {
    throw std::runtime_error(what.toStdString());
}

} // namespace

VirtualPrinter::VirtualPrinter(QString name, const QString& folder, const QString& paperFile,
                               bool quiet)
    : name_(std::move(name)), folder_(folder), paperFile_(paperFile), quiet_(quiet) {
    if (!folder_.mkpath(QStringLiteral("."))) {
        refuse(QStringLiteral("cannot make the folder %1").arg(folder));
    }
    if (!paperFile.isEmpty() &&
        !paperFile_.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        refuse(QStringLiteral("cannot write %1: %2").arg(paperFile, paperFile_.errorString()));
    }
}

std::vector<StatusRequest> VirtualPrinter::print(const QByteArray& bytes) {
    std::vector<StatusRequest> requests;
    const std::vector<PrinterEvent> events = decoder_.feed(bytes);
    keepPrinted();
    for (const PrinterEvent& event : events) {
        if (const auto* cut = std::get_if<CutReceipt>(&event)) {
            printReceipt(cut->receipt);
        } else if (const auto* request = std::get_if<StatusRequest>(&event)) {
            requests.push_back(*request);
        } else {
            printDrawerKick();
        }
    }
    return requests;
}

void VirtualPrinter::discard() {
    decoder_ = EscPosDecoder{};
}

void VirtualPrinter::finish() {
    const Receipt uncut = decoder_.takeUncut();
    keepPrinted();
    if (uncut.hasInk()) {
        printReceipt(uncut);
    }
}

// Before any receipt is drawn, so that the paper file already holds what an answer follows.
void VirtualPrinter::keepPrinted() {
    const QByteArray printed = decoder_.takePrinted();
    printedBytes_ += printed.size();
    if (paperFile_.isOpen() && paperFile_.write(printed) != printed.size()) {
        std::fprintf(stderr, "virtual-printer: cannot write %s\n",
                     qPrintable(paperFile_.fileName()));
    }
}

void VirtualPrinter::printReceipt(const Receipt& receipt) {
    ++receipts_;
    const QString file = folder_.filePath(
        QStringLiteral("%1-%2.png").arg(name_).arg(receipts_, 4, 10, QLatin1Char('0')));
    if (!receiptImage(receipt).save(file, "PNG")) {
        std::fprintf(stderr, "virtual-printer: cannot write %s\n", qPrintable(file));
    }
    show(receiptText(receipt, name_, receipts_));
}

void VirtualPrinter::printDrawerKick() {
    show(drawerKickText(name_));
}

void VirtualPrinter::show(const QString& text) const {
    if (!quiet_) {
        writeToStandardOutput(text);
    }
}
