#pragma once

#include "receipt.h"

#include <variant>

// What the printer does besides filling its buffer.
struct CutReceipt {
    Receipt receipt;
};

struct DrawerKick {};

using PrinterEvent = std::variant<CutReceipt, DrawerKick>;
