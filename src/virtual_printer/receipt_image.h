#pragma once

#include "receipt.h"

#include <QImage>

// A receipt as the paper would show it: 576 dots of printable width at 203 dpi, font A cells
// of 12 x 24 dots scaled by the character size, 30 dots from line to line, a small margin above
// and below, and a dashed line where the paper was cut.
QImage receiptImage(const Receipt& receipt);
