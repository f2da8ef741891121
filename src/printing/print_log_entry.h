#pragma once

#include <QString>

class Row;

// The print-log entry of a handled job: order time, table, printer name and address, and the
// printed content on one line (each CR LF becomes one blank).
QString printLogEntry(const Row& job);
