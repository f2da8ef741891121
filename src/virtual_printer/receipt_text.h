#pragma once

#include "receipt.h"

#include <QString>

// A receipt for a UTF-8 terminal: a header naming the printer, the 48 columns of paper between
// two edges, sizes marked in a gutter left of the paper (W2 double width, H2 double height),
// double-width characters followed by spaces, and the cut as a dashed scissor line.
QString receiptText(const Receipt& receipt, const QString& printerName, int number);

QString drawerKickText(const QString& printerName);
