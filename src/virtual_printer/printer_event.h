#pragma once

#include "receipt.h"

#include <variant>

// What the printer does besides filling its buffer.
struct CutReceipt {
    Receipt receipt;
};

struct DrawerKick {};

// GS r n: the host asks after a sensor once everything before the request has been printed.
struct StatusRequest {
    enum class Sensor { Paper, Drawer };
    Sensor sensor;
};

using PrinterEvent = std::variant<CutReceipt, DrawerKick, StatusRequest>;
