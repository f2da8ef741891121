#pragma once

#include <QString>

class Row;

// The ESC/POS command strings the layouts write, each a few bytes below 0x80 held as text.
// Empty until prepared from the settings row.
struct PrinterCommands {
    QString alignLeft;
    QString alignCenter;
    QString sizeNormal;
    QString doubleHeight;
    QString doubleWidth;
    QString doubleSize;
    QString kitchenSize; // size of order-sheet body lines, chosen by 주방프린터글자크기
    QString cut;         // ESC i, or ESC m on REXOD printers
};

// Sets the fixed commands, then the cut and kitchen size from the settings row. A failure
// (a missing column, a lost connection) ends the preparation silently: commands set before it
// keep their new values, the others their previous ones.
void preparePrinterCommands(PrinterCommands& commands, const Row& settings);
