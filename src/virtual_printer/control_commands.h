#pragma once

#include "host_link.h"
#include "kitchen_printer.h"

#include <QString>

// One line of the control socket, answered with one line: "ok", "error <reason>", or for
// "status" the counters and the state. The commands: paper out | near-end | in, cover open |
// close, offline, online, power off | on, answers off | on, reset after <bytes>, status.
QString answerControlLine(const QString& line, KitchenPrinter& printer, HostLink& link);
