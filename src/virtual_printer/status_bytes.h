#pragma once

#include "printer_event.h"
#include "printer_state.h"

#include <optional>

// The one-byte answers of an ESC/POS printer to its status requests.
namespace status_bytes {

// DLE EOT n, n = 1 (printer), 2 (offline cause), 3 (errors), 4 (paper sensors); bits 1 and 4
// are always set. No answer to another n.
std::optional<char> realTime(int n, const PrinterState& state);

// GS r n: 0x03 when the paper is near its end, else 0x00; the drawer connector reads 0x00.
char sensor(StatusRequest::Sensor sensor, const PrinterState& state);

} // namespace status_bytes
