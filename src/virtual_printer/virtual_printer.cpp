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

} // namespace

VirtualPrinter::VirtualPrinter(QString name, const QString& folder)
    : name_(std::move(name)), folder_(folder) {
    if (!folder_.mkpath(QStringLiteral("."))) {
        throw std::runtime_error(
            QStringLiteral("cannot make the folder %1").arg(folder).toStdString());
    }
}

void VirtualPrinter::receive(const QByteArray& bytes) {
    for (const PrinterEvent& event : decoder_.feed(bytes)) {
        if (const auto* cut = std::get_if<CutReceipt>(&event)) {
            printReceipt(cut->receipt);
        } else {
            printDrawerKick();
        }
    }
}

void VirtualPrinter::finish() {
    const Receipt uncut = decoder_.takeUncut();
    if (uncut.hasInk()) {
        printReceipt(uncut);
    }
}

void VirtualPrinter::printReceipt(const Receipt& receipt) {
    ++printed_;
    const QString file = folder_.filePath(
        QStringLiteral("%1-%2.png").arg(name_).arg(printed_, 4, 10, QLatin1Char('0')));
    if (!receiptImage(receipt).save(file, "PNG")) {
        std::fprintf(stderr, "virtual-printer: cannot write %s\n", qPrintable(file));
    }
    writeToStandardOutput(receiptText(receipt, name_, printed_));
}

void VirtualPrinter::printDrawerKick() {
    writeToStandardOutput(drawerKickText(name_));
}
