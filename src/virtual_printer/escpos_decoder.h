#pragma once

#include "printer_event.h"
#include "receipt_builder.h"

#include <QByteArray>
#include <vector>

// Reads the byte stream of a kitchen printer: ESC/POS commands and code page 949 text. Bytes
// may arrive in any pieces; an incomplete command or the lead byte of a two-byte character
// waits for the rest.
class EscPosDecoder {
public:
    std::vector<PrinterEvent> feed(const QByteArray& bytes);
    // The paper printed since the last cut, with any incomplete command shown as hex.
    Receipt takeUncut();
    // The bytes decoded since the last call, exactly as received, status requests left out.
    QByteArray takePrinted();

private:
    // The number of bytes the item at the front took, 0 while it is incomplete.
    qsizetype decodeFront(QByteArrayView bytes, std::vector<PrinterEvent>& events);
    qsizetype escCommand(QByteArrayView bytes, std::vector<PrinterEvent>& events);
    qsizetype gsCommand(QByteArrayView bytes, std::vector<PrinterEvent>& events);
    qsizetype characterSize(QByteArrayView bytes);
    qsizetype statusRequest(QByteArrayView bytes, std::vector<PrinterEvent>& events);
    qsizetype alignment(QByteArrayView bytes);
    qsizetype textRun(QByteArrayView bytes);

    QByteArray pending_;
    QByteArray printed_;
    ReceiptBuilder paper_;
};
